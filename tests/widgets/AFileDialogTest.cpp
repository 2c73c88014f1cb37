#include "widgets/AFileDialog.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "widgets/FileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <gtest/gtest.h>

namespace {

// Answers every request with its list of paths, or a cancel, and remembers the request.
class ScriptedChooser : public FileChooser {
public:
    explicit ScriptedChooser(std::optional<QStringList> answer) : m_answer(std::move(answer)) {
        AFileDialog::SetChooser(this);
    }
    ~ScriptedChooser() override { AFileDialog::SetChooser(nullptr); }

    std::optional<QStringList> Choose(const FileChooserRequest& request) override {
        requests.push_back(request);
        return m_answer;
    }

    std::vector<FileChooserRequest> requests;

private:
    std::optional<QStringList> m_answer;
};

std::vector<AString> Walk(AFileDialog& dialog) {
    std::vector<AString> names;
    AString name;
    for (bool more = dialog.GetFirstFile(name); more; more = dialog.GetNextFile(name))
        names.push_back(name);
    return names;
}

AFileDialog MultiSelectDialog() {
    return AFileDialog(true, QString(), QString(), AFileDialog::kAllowMultiSelect,
                       QStringLiteral("Songs|*.mp3;*.m4a|All Files|*.*||"), nullptr);
}

} // namespace

TEST(AFileDialogTest, OneFileGivesItsFullPathAndNothingAfterIt) {
    ScriptedChooser chooser(QStringList{QStringLiteral("/music/Rock/a.mp3")});
    AFileDialog dialog = MultiSelectDialog();
    ASSERT_EQ(dialog.DoModal(), nativeui::kIdOk);
    AString name;
    ASSERT_TRUE(dialog.GetFirstFile(name));
    EXPECT_EQ(name, AString("/music/Rock/a.mp3"));
    EXPECT_FALSE(dialog.GetNextFile(name));
    EXPECT_TRUE(dialog.GetNextFile(name)) << "the walk starts over after its end";
    EXPECT_EQ(name, AString("/music/Rock/a.mp3"));
}

TEST(AFileDialogTest, SeveralFilesGiveTheFolderThenEachName) {
    ScriptedChooser chooser(
        QStringList{QStringLiteral("/music/Rock/a.mp3"), QStringLiteral("/music/Rock/b c.m4a")});
    AFileDialog dialog = MultiSelectDialog();
    ASSERT_EQ(dialog.DoModal(), nativeui::kIdOk);
    EXPECT_EQ(Walk(dialog),
              (std::vector<AString>{AString("/music/Rock"), AString("a.mp3"), AString("b c.m4a")}));
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_TRUE(chooser.requests[0].multipleFiles);
    EXPECT_EQ(chooser.requests[0].nameFilters,
              (QStringList{QStringLiteral("Songs (*.mp3 *.m4a)"), QStringLiteral("All Files (*.*)")}));
}

TEST(AFileDialogTest, ACancelGivesIdCancelAndNoFiles) {
    ScriptedChooser chooser(std::nullopt);
    AFileDialog dialog = MultiSelectDialog();
    EXPECT_EQ(dialog.DoModal(), nativeui::kIdCancel);
    AString name;
    EXPECT_FALSE(dialog.GetFirstFile(name));
}

TEST(AFileDialogTest, TwoHundredLongNamesChosenInQtsOwnDialogAllArrive) {
    TempDir folder;
    QStringList names;
    for (int i = 0; i < 200; ++i) {
        const QString name = QStringLiteral("%1 a song with a rather long title of its own.mp3")
                                 .arg(i, 3, 10, QLatin1Char('0'));
        QFile file(QDir(QString::fromStdString(folder.Path())).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        names << name;
    }
    QtFileChooser qtChooser(false);
    AFileDialog::SetChooser(&qtChooser);
    ModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = dynamic_cast<QFileDialog*>(modal);
        if (!dialog)
            return false;
        dialog->setDirectory(QString::fromStdString(folder.Path()));
        QStringList quoted;
        for (const QString& name : names)
            quoted << QLatin1Char('"') + name + QLatin1Char('"');
        dialog->selectFile(quoted.join(QLatin1Char(' ')));
        static_cast<QDialog*>(dialog)->accept(); // the file dialog takes the typed names
        return true;
    });
    AFileDialog dialog = MultiSelectDialog();
    ASSERT_EQ(dialog.DoModal(), nativeui::kIdOk);
    AFileDialog::SetChooser(nullptr);
    const std::vector<AString> walked = Walk(dialog);
    ASSERT_EQ(walked.size(), 201u);
    EXPECT_EQ(walked[0],
              AString::FromUtf8(QDir(QString::fromStdString(folder.Path())).absolutePath().toStdString()));
    std::vector<AString> chosen(walked.begin() + 1, walked.end());
    std::sort(chosen.begin(), chosen.end(),
              [](const AString& a, const AString& b) { return a.Compare(b) < 0; });
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(chosen[i], AString::FromUtf8(names[i].toStdString()));
}
