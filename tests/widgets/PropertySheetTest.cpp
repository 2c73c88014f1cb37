#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AMultiPropertyPage.h"
#include "widgets/APropertySheet.h"
#include "widgets/DialogSplitterWnd.h"
#include "widgets/PropertyPageTabs.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A page whose answers the test sets, and that remembers what it was asked.
class ScriptedPage : public APropertyPage {
public:
    explicit ScriptedPage(const QString& caption, QString refusal = QString(), bool takesInput = true)
        : APropertyPage(0, caption), m_refusal(std::move(refusal)), m_takesInput(takesInput) {}

    bool Validate(QString& message) override {
        ++validations;
        if (m_refusal.isEmpty())
            return true;
        message = m_refusal;
        return false;
    }
    bool DoDataExchange(bool save) override {
        exchanges += save;
        return !save || m_takesInput;
    }
    void OnOK() override { ++oks; }

    int validations = 0;
    int exchanges = 0;
    int oks = 0;

private:
    QString m_refusal;
    bool m_takesInput;
};

// Presses OK in the open sheet once the test has done its part; the messages that show are kept, each
// with the page that was active while it showed.
class SheetDriver {
public:
    explicit SheetDriver(std::function<void(APropertySheet&)> beforeOk)
        : m_watcher([this, beforeOk](QWidget* modal) {
              if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                  messages.push_back(box->text());
                  activePages.push_back(m_sheet ? m_sheet->GetActiveIndex() : -1);
                  box->accept();
                  return false;
              }
              auto* sheet = dynamic_cast<APropertySheet*>(modal);
              if (!sheet)
                  return false;
              m_sheet = sheet;
              if (!m_okPressed) {
                  m_okPressed = true;
                  beforeOk(*sheet);
                  QTimer::singleShot(0, sheet, [sheet] { sheet->OnOK(); });
                  return false;
              }
              if (!messages.empty() && sheet->isVisible())
                  sheet->reject(); // a refused OK leaves the sheet open: close it for the test
              return !sheet->isVisible();
          }) {}

    std::vector<QString> messages;
    std::vector<int> activePages;

private:
    APropertySheet* m_sheet = nullptr;
    bool m_okPressed = false;
    ModalWatcher m_watcher;
};

} // namespace

TEST(PropertySheetTest, OkWithTwoRefusingPagesShowsOnlyTheFirstMessageAndActivatesItsPage) {
    ScriptedPage first(QStringLiteral("Global"));
    ScriptedPage second(QStringLiteral("Synchronizing"), QStringLiteral("The port must be a number."));
    ScriptedPage third(QStringLiteral("File Deletes"), QStringLiteral("Choose a folder."));
    APropertySheet sheet(QStringLiteral("Sync Properties"));
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.AddPage(&third);
    SheetDriver driver([&](APropertySheet&) {});
    EXPECT_EQ(sheet.DoModal(), nativeui::kIdCancel);
    EXPECT_EQ(driver.messages, std::vector<QString>{QStringLiteral("The port must be a number.")});
    EXPECT_EQ(driver.activePages, std::vector<int>{1});
    EXPECT_EQ(third.validations, 0);
    EXPECT_EQ(first.oks + second.oks + third.oks, 0);
}

TEST(PropertySheetTest, APageNeverOpenedIsAcceptedWithoutAnExchange) {
    ScriptedPage shown(QStringLiteral("Global"));
    ScriptedPage neverOpened(QStringLiteral("Filtering"), QString(), false); // its controls would refuse
    APropertySheet sheet(QStringLiteral("Sync Properties"));
    sheet.AddPage(&shown);
    sheet.AddPage(&neverOpened);
    SheetDriver driver([](APropertySheet&) {});
    EXPECT_EQ(sheet.DoModal(), nativeui::kIdOk);
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(neverOpened.validations, 1);
    EXPECT_EQ(neverOpened.exchanges, 0);
    EXPECT_EQ(neverOpened.oks, 0);
    EXPECT_EQ(shown.oks, 1);
    EXPECT_EQ(shown.exchanges, 1);
}

TEST(PropertySheetTest, AMultiPageTitlesOnlyTheTabsItHasCaptionsFor) {
    ScriptedPage rules(QStringLiteral("Own 1"));
    ScriptedPage appleIds(QStringLiteral("Own 2"));
    ScriptedPage types(QStringLiteral("Own 3"));
    AMultiPropertyPage duplicates(105, QStringLiteral("Duplicates"));
    duplicates.AddChildPage(&rules);
    duplicates.AddChildPage(&appleIds);
    duplicates.AddChildPage(&types);
    duplicates.AppendCaption(QStringLiteral("Rules"));
    duplicates.AppendCaption(QStringLiteral("Apple IDs"));
    duplicates.EnsureOpened();
    PropertyPageTabs& tabs = duplicates.ChildTabs();
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("Rules"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Apple IDs"));
    EXPECT_EQ(tabs.tabText(2), QStringLiteral("Own 3"));
}

TEST(PropertySheetTest, AMultiPageReopensWithTheChildThatWasInFrontAtOk) {
    ScriptedPage global(QStringLiteral("Global"));
    ScriptedPage rules(QStringLiteral("Rules"));
    ScriptedPage types(QStringLiteral("Types"));
    AMultiPropertyPage duplicates(105, QStringLiteral("Duplicates"));
    duplicates.AddChildPage(&rules);
    duplicates.AddChildPage(&types);
    for (int run = 0; run < 2; ++run) {
        APropertySheet sheet(QStringLiteral("Sync Properties"), nullptr, 1);
        sheet.AddPage(&global);
        sheet.AddPage(&duplicates);
        int childAtOpening = -1;
        SheetDriver driver([&](APropertySheet&) {
            childAtOpening = duplicates.ChildTabs().currentIndex();
            duplicates.ChildTabs().setCurrentIndex(1);
        });
        EXPECT_EQ(sheet.DoModal(), nativeui::kIdOk);
        EXPECT_EQ(childAtOpening, run == 0 ? 0 : 1) << "run " << run;
        EXPECT_EQ(sheet.GetLastActivePage(), 1);
    }
    EXPECT_EQ(duplicates.GetChildIndex(), 1);
}

TEST(PropertySheetTest, ARefusingChildBringsItsHostAndItselfToTheFront) {
    ScriptedPage global(QStringLiteral("Global"));
    ScriptedPage rules(QStringLiteral("Rules"));
    ScriptedPage types(QStringLiteral("Types"), QStringLiteral("Add a file type."));
    AMultiPropertyPage duplicates(105, QStringLiteral("Duplicates"));
    duplicates.AddChildPage(&rules);
    duplicates.AddChildPage(&types);
    APropertySheet sheet(QStringLiteral("Sync Properties"));
    sheet.AddPage(&global);
    sheet.AddPage(&duplicates);
    sheet.Prepare();
    std::vector<QString> messages;
    ModalWatcher answer([&](QWidget* modal) {
        auto* box = dynamic_cast<QMessageBox*>(modal);
        if (box) {
            messages.push_back(box->text());
            box->accept();
        }
        return box != nullptr;
    });
    EXPECT_FALSE(sheet.OnOK());
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Add a file type.")});
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(duplicates.ChildTabs().currentIndex(), 1);
}

TEST(DialogSplitterWndTest, ACommandThatTheSplitterDoesNotHandleReachesTheDialog) {
    MessageRecorder dialog;
    DialogSplitterWnd splitter(&dialog);
    QWidget pane(&splitter);
    splitter.addWidget(&pane);
    nativeui::PrivateMessage::Post(&splitter, nativeui::kWmCommand, nativeui::MakeWParam(5760, 0), 9);
    Drain();
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0].number, nativeui::kWmCommand);
    EXPECT_EQ(dialog.messages[0].wParam, nativeui::MakeWParam(5760, 0));
    EXPECT_EQ(dialog.messages[0].lParam, 9);
}
