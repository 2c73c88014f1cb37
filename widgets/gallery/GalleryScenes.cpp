#include "widgets/gallery/GalleryScenes.h"

#include "widgets/AAlert.h"
#include "widgets/ABar.h"
#include "widgets/ABitmap.h"
#include "widgets/AButton.h"
#include "widgets/AComboBox.h"
#include "widgets/AListCtrl.h"
#include "widgets/AMenu.h"
#include "widgets/AMultiPropertyPage.h"
#include "widgets/APropertySheet.h"
#include "widgets/AStatic.h"
#include "widgets/AStatus.h"
#include "widgets/ASyncSettingBitmap.h"
#include "widgets/MultiLineComboBox.h"
#include "widgets/SeparatorComboBox.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"
#include "widgets/WaitDlg.h"
#include "widgets/gallery/SkinPanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 8;
constexpr int kControlId = 1000;

enum class Look { kNormal, kHot, kPressed, kDisabled };

struct LookName {
    Look look;
    const char* name;
};

constexpr LookName kLooks[] = {{Look::kNormal, "normal"},
                               {Look::kHot, "hot"},
                               {Look::kPressed, "pressed"},
                               {Look::kDisabled, "disabled"}};

void SendMouse(QWidget& widget, QEvent::Type type, const QPoint& point, Qt::MouseButton button) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, point, widget.mapToGlobal(point), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void Hover(QWidget& widget, const QPoint& point) {
    SendMouse(widget, QEvent::MouseMove, point, Qt::NoButton);
}

void Press(QWidget& widget, const QPoint& point) {
    SendMouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
}

std::unique_ptr<SkinPanel> PanelAround(const QSize& control) {
    return std::make_unique<SkinPanel>(control + QSize(2 * kMargin, 2 * kMargin));
}

struct ButtonSet {
    const char* name;
    int normal;
    int pressed;
    int mask;
};

constexpr ButtonSet kButtonSets[] = {
    {"small", skin::kSmallButton, skin::kSmallButtonPressed, skin::kSmallButtonMask},
    {"two_look_a", skin::kTwoLookButtonA, skin::kTwoLookButtonAPressed, skin::kTwoLookButtonMask},
    {"two_look_b", skin::kTwoLookButtonB, skin::kTwoLookButtonBPressed, skin::kTwoLookButtonMask},
    {"wide", skin::kWideButton, skin::kWideButtonPressed, skin::kWideButtonMask},
    {"wide_b", skin::kWideButtonB, skin::kWideButtonBPressed, skin::kWideButtonBMask},
    {"start", skin::kStartButton, skin::kStartButtonPressed, skin::kStartButtonMask},
    {"stop", skin::kStopButton, skin::kStopButtonPressed, skin::kStopButtonMask},
};

std::unique_ptr<QWidget> ButtonScene(const ButtonSet& set, Look look) {
    const QSize size = skin::Load(set.normal).size();
    auto panel = PanelAround(size);
    auto* button = new AButton(kControlId, panel.get());
    button->move(kMargin, kMargin);
    button->SetImages(AButton::kNormalImage, set.normal);
    button->SetImages(AButton::kPressedImage, set.pressed);
    button->SetImages(AButton::kMaskImage, set.mask);
    button->SizeToImage();
    const QPoint inside(size.width() / 2, size.height() / 2);
    if (look == Look::kHot)
        Hover(*button, inside);
    if (look == Look::kPressed)
        Press(*button, inside);
    if (look == Look::kDisabled)
        button->EnableWindow(false);
    return panel;
}

// The fonts the main window gives its strip.
void GiveStripFonts(AStatus& status) {
    status.SetTextFont(toolkitfonts::Tahoma13());
    status.SetTitleFont(toolkitfonts::Make(QStringLiteral("Tahoma"), 13, toolkitfonts::kWeightBold));
}

std::unique_ptr<QWidget> StatusScene(const std::function<void(AStatus&)>& setUp) {
    const QSize size(390, 49);
    auto panel = PanelAround(size);
    auto* status = new AStatus(kControlId, panel.get());
    status->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    GiveStripFonts(*status);
    setUp(*status);
    return panel;
}

void ShowStatus(AStatus& status, int state, const char* line1, const char* line2) {
    const AString text1(line1);
    const AString text2(line2);
    status.SetStatus(state, &text1, &text2, false);
}

void PressCancel(AStatus& status) {
    status.ShowCancelButton(true);
    QImage scratch(status.size(), QImage::Format_ARGB32_Premultiplied);
    status.render(&scratch); // the cancel button takes its place when drawn
    const QPoint cancel(status.width() - 18, status.height() / 2);
    Hover(status, cancel);
    Press(status, cancel);
}

std::vector<GalleryScene> StatusScenes() {
    return {
        {"status_idle", [] { return StatusScene([](AStatus&) {}); }},
        {"status_one_line", [] { return StatusScene([](AStatus& s) { ShowStatus(s, 1, "Ready", ""); }); }},
        {"status_two_lines",
         [] {
             return StatusScene(
                 [](AStatus& s) { ShowStatus(s, 2, "Reading iTunes library", "Song 120 of 4000"); });
         }},
        {"status_two_equal_lines",
         [] {
             return StatusScene([](AStatus& s) { ShowStatus(s, 2, "Loading Sync Set", "Loading Sync Set"); });
         }},
        {"status_progress",
         [] {
             return StatusScene([](AStatus& s) {
                 ShowStatus(s, 3, "Copying songs", "\\Rock\\Artist\\Album\\Title");
                 s.SetRange(1.0);
                 s.SetPos(0.5);
             });
         }},
        {"status_progress_full",
         [] {
             return StatusScene([](AStatus& s) {
                 ShowStatus(s, 3, "Finishing", "Finishing");
                 s.SetRange(1.0);
                 s.SetPos(1.2);
             });
         }},
        {"status_long_text",
         [] {
             return StatusScene([](AStatus& s) {
                 ShowStatus(
                     s, 2,
                     "A line that is much wider than the strip's text rectangle and is cut at the right",
                     "short");
             });
         }},
        {"status_cancel",
         [] {
             return StatusScene([](AStatus& s) {
                 ShowStatus(s, 3, "Syncing", "Comparing");
                 s.SetPos(25);
                 s.ShowCancelButton(true);
             });
         }},
        {"status_cancel_pressed",
         [] {
             return StatusScene([](AStatus& s) {
                 ShowStatus(s, 3, "Syncing", "Comparing");
                 s.SetPos(25);
                 PressCancel(s);
             });
         }},
    };
}

std::unique_ptr<QWidget> AlertScene(bool fourButtons) {
    auto alert = std::make_unique<AAlert>();
    if (fourButtons) {
        alert->SetMessage(QStringLiteral("Do you want to replace this file?"));
        alert->SetDescription1(QStringLiteral("Copy"));
        alert->SetDescription2(QStringLiteral("/music/Rock/Artist/Album/Title.mp3"));
        alert->SetDescription3(QStringLiteral("to"));
        alert->SetDescription4(QStringLiteral("/media/ipod/iPod_Control/Music/F00/ABCD.mp3"));
        alert->SetButton1(QStringLiteral("Yes"));
        alert->SetButton2(QStringLiteral("No"));
        alert->SetButton3(QStringLiteral("Yes to All"));
        alert->SetButton4(QStringLiteral("No to All"));
    } else {
        alert->SetMessage(QStringLiteral("Delete the playlist?"));
        alert->SetButton1(QStringLiteral("Yes"));
        alert->SetButton2(QStringLiteral("No"));
    }
    alert->Prepare();
    return alert;
}

void FillCombo(AComboBox& combo) {
    combo.AddString(QStringLiteral("My iPod"));
    combo.AddString(QString::fromLatin1(AComboBox::kSeparatorText));
    combo.AddString(QStringLiteral("iTunes on kitchen"));
    combo.AddString(QStringLiteral("Connect to Remote"));
}

std::unique_ptr<QWidget> ComboScene(Look look, bool empty) {
    const QSize size(160, 22);
    auto panel = PanelAround(size);
    auto* combo = new AComboBox(kControlId, panel.get());
    combo->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    combo->SetEmptyText(QStringLiteral("No iPod connected"));
    if (!empty) {
        FillCombo(*combo);
        combo->SetCurSel(0);
    }
    if (look == Look::kHot)
        Hover(*combo, QPoint(20, 10));
    if (look == Look::kDisabled)
        combo->EnableWindow(false);
    return panel;
}

const ASyncSettingBitmap::ModeNames kIPodModeNames = {
    QStringLiteral("Sync iTunes and iPod"),      QStringLiteral("Merge iTunes and iPod"),
    QStringLiteral("Copy iTunes to iPod"),       QStringLiteral("Copy iPod to iTunes"),
    QStringLiteral("Make iPod equal to iTunes"), QStringLiteral("Make iTunes equal to iPod")};

const ASyncSettingBitmap::IconTable kIconTable = {{{1, 6, 6, 2},
                                                   {1, 5, 5, 2},
                                                   {0, 3, 5, 2},
                                                   {1, 5, 3, 0},
                                                   {0, 4, 6, 2},
                                                   {1, 6, 4, 0},
                                                   {0, 3, 3, 0},
                                                   {7, 8, 8, 7}}};

std::unique_ptr<QWidget> SettingScene(int layout, int setting, Look look) {
    const QSize size(180, 48);
    auto panel = PanelAround(size);
    panel->setFont(toolkitfonts::Tahoma13());
    auto* picture = new ASyncSettingBitmap(kControlId, panel.get());
    picture->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    picture->SetModeNames([] { return kIPodModeNames; });
    picture->SetIconTable(kIconTable);
    picture->SetLayout(layout);
    picture->SetSetting(setting);
    if (look == Look::kHot)
        Hover(*picture, QPoint(picture->width() / 2, 10));
    if (look == Look::kDisabled)
        picture->EnableWindow(false);
    return panel;
}

std::vector<GalleryScene> SettingScenes() {
    std::vector<GalleryScene> scenes;
    for (int setting = 0; setting < ASyncSettingBitmap::kSettingCount; ++setting) {
        scenes.push_back({QStringLiteral("setting_icons_%1").arg(setting), [setting] {
                              return SettingScene(ASyncSettingBitmap::kIconLayout, setting, Look::kNormal);
                          }});
        scenes.push_back({QStringLiteral("setting_picture_%1").arg(setting), [setting] {
                              return SettingScene(ASyncSettingBitmap::kPictureLayout, setting, Look::kNormal);
                          }});
    }
    scenes.push_back({"setting_picture_hot",
                      [] { return SettingScene(ASyncSettingBitmap::kPictureLayout, 1, Look::kHot); }});
    scenes.push_back({"setting_picture_disabled",
                      [] { return SettingScene(ASyncSettingBitmap::kPictureLayout, 1, Look::kDisabled); }});
    return scenes;
}

std::unique_ptr<QWidget> BarScene(bool pattern) {
    const QSize size(200, 12);
    auto panel = PanelAround(size);
    auto* bar = new ABar(kControlId, panel.get());
    bar->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    if (pattern)
        bar->SetBitmap(skin::kBarFill);
    else
        bar->SetColor(0x009B9B9B);
    return panel;
}

std::unique_ptr<QWidget> BitmapScene(const char* kind) {
    const QSize size(120, 40);
    auto panel = PanelAround(size);
    auto* bitmap = new ABitmap(kControlId, panel.get());
    bitmap->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    const QString look = QString::fromLatin1(kind);
    if (look == QLatin1String("masked")) {
        bitmap->LoadImage(skin::kFirstSettingPicture, ABitmap::kImage);
        bitmap->LoadImage(skin::kSettingPictureMask, ABitmap::kMask);
        bitmap->SetMask(true);
    } else if (look == QLatin1String("keyed")) {
        bitmap->LoadImage(skin::kIdle, ABitmap::kImage);
        bitmap->SetTransparentColor(true, 0x00000000);
    } else {
        bitmap->LoadImage(skin::kIdle, ABitmap::kImage);
        bitmap->LoadImage(skin::kIdleMask, ABitmap::kMask);
        bitmap->SizeToImage(ABitmap::kStretch, 0);
    }
    return panel;
}

std::unique_ptr<QWidget> StaticScene(int format) {
    const QSize size(200, 40);
    auto panel = PanelAround(size);
    auto* text = new AStatic(kControlId, panel.get(),
                             QStringLiteral("Start Now: the songs of both sides are compared"));
    text->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    text->SetTextFormat(format);
    text->SetTextColor(0x00303030);
    return panel;
}

std::unique_ptr<QWidget> MultiLineScene() {
    const QSize size(220, 40);
    auto panel = PanelAround(size);
    auto* combo = new MultiLineComboBox(kControlId, panel.get());
    combo->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    combo->InsertString(-1, QStringLiteral("/home/user/Music/Deleted"));
    combo->InsertString(-1, QStringLiteral("/media/archive/Old Songs"));
    combo->SetCurSel(0);
    return panel;
}

std::unique_ptr<QWidget> SeparatorComboScene() {
    const QSize size(180, 24);
    auto panel = PanelAround(size);
    auto* combo = new SeparatorComboBox(kControlId, panel.get());
    combo->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    combo->addItem(QStringLiteral("Library"));
    combo->addItem(QStringLiteral("------------"), SeparatorComboBox::kSeparatorData);
    combo->addItem(QStringLiteral("Road Trip"));
    combo->SetCurSel(2);
    return panel;
}

std::unique_ptr<QWidget> ListScene() {
    const QSize size(180, 90);
    auto panel = PanelAround(size);
    auto* list = new AListCtrl(kControlId, panel.get());
    list->setGeometry(QRect(QPoint(kMargin, kMargin), size));
    list->InsertItem(0, QStringLiteral("mp3"));
    list->InsertItem(1, QStringLiteral("m4a"));
    list->InsertItem(2, QStringLiteral("aac"));
    list->selectRow(1);
    return panel;
}

// The menu bar's items in each state, drawn side by side.
class MenuItemsPanel : public SkinPanel {
public:
    MenuItemsPanel() : SkinPanel(QSize(4 * 60 + 2 * kMargin, 20 + 2 * kMargin)) {
        m_menu.SetItemFont(toolkitfonts::Tahoma13());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        SkinPanel::paintEvent(event);
        QPainter painter(this);
        const unsigned states[] = {AMenu::kNoAccelerator, AMenu::kHotLight | AMenu::kNoAccelerator,
                                   AMenu::kSelected | AMenu::kNoAccelerator, AMenu::kInactive};
        const char* texts[] = {"File", "Edit", "Tools", "Help"};
        for (int i = 0; i < 4; ++i)
            m_menu.DrawItem(painter, QRect(kMargin + 60 * i, kMargin, 60, 20), QString::fromLatin1(texts[i]),
                            states[i]);
    }

private:
    AMenu m_menu;
};

std::unique_ptr<QWidget> WaitScene(bool cancellable) {
    auto wait = std::make_unique<WaitDlg>();
    wait->message = QStringLiteral("Preparing to Auto Run...");
    wait->cancellable = cancellable;
    wait->stepCount = 0;
    wait->Prepare();
    wait->findChild<QProgressBar*>()->setValue(40);
    return wait;
}

class SamplePage : public APropertyPage {
public:
    SamplePage(const QString& caption, const QString& text) : APropertyPage(0, caption) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QCheckBox(text, this));
        layout->addWidget(new QLabel(QStringLiteral("Port number to use:"), this));
        layout->addStretch();
    }
};

// The sheet owns nothing; the scene keeps the pages alive as long as the sheet.
class SheetScene : public QWidget {
public:
    APropertySheet& Sheet() { return m_sheet; }

    SheetScene()
        : m_global(QStringLiteral("Global"), QStringLiteral("Hide iTunes on Sync")),
          m_rules(QStringLiteral("Rules"), QStringLiteral("Protected Files")),
          m_types(QStringLiteral("Types"), QStringLiteral("Preferred Types")),
          m_duplicates(0, QStringLiteral("Duplicates")), m_sheet(QStringLiteral("Sync Properties"), this, 1) {
        m_duplicates.AddChildPage(&m_rules);
        m_duplicates.AppendCaption(QStringLiteral("Rules"));
        m_duplicates.AddChildPage(&m_types);
        m_duplicates.AppendCaption(QStringLiteral("Types"));
        m_sheet.AddPage(&m_global);
        m_sheet.AddPage(&m_duplicates);
        m_sheet.resize(360, 240);
        m_sheet.Prepare();
        resize(m_sheet.size());
    }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    SamplePage m_global;
    SamplePage m_rules;
    SamplePage m_types;
    AMultiPropertyPage m_duplicates;
    APropertySheet m_sheet;
};

} // namespace

std::vector<GalleryScene> GalleryScenes() {
    std::vector<GalleryScene> scenes;
    for (const ButtonSet& set : kButtonSets) {
        for (const LookName& look : kLooks)
            scenes.push_back(
                {QStringLiteral("button_%1_%2").arg(QLatin1String(set.name), QLatin1String(look.name)),
                 [set, look] { return ButtonScene(set, look.look); }});
    }
    for (GalleryScene& scene : StatusScenes())
        scenes.push_back(std::move(scene));
    scenes.push_back({"alert_two_buttons", [] { return AlertScene(false); }});
    scenes.push_back({"alert_four_buttons", [] { return AlertScene(true); }});
    scenes.push_back({"combo_normal", [] { return ComboScene(Look::kNormal, false); }});
    scenes.push_back({"combo_hot", [] { return ComboScene(Look::kHot, false); }});
    scenes.push_back({"combo_disabled", [] { return ComboScene(Look::kDisabled, false); }});
    scenes.push_back({"combo_empty_text", [] { return ComboScene(Look::kNormal, true); }});
    scenes.push_back({"multiline_combo", [] { return MultiLineScene(); }});
    scenes.push_back({"separator_combo", [] { return SeparatorComboScene(); }});
    for (GalleryScene& scene : SettingScenes())
        scenes.push_back(std::move(scene));
    scenes.push_back({"bar_pattern", [] { return BarScene(true); }});
    scenes.push_back({"bar_color", [] { return BarScene(false); }});
    scenes.push_back({"bitmap_masked", [] { return BitmapScene("masked"); }});
    scenes.push_back({"bitmap_keyed", [] { return BitmapScene("keyed"); }});
    scenes.push_back({"bitmap_stretched", [] { return BitmapScene("stretched"); }});
    scenes.push_back({"static_left", [] { return StaticScene(textformat::kLeft); }});
    scenes.push_back({"static_centred_words", [] { return StaticScene(textformat::kCenteredWords); }});
    scenes.push_back({"static_centred", [] { return StaticScene(textformat::kCenter); }});
    scenes.push_back({"list", [] { return ListScene(); }});
    scenes.push_back({"menu_items", [] { return std::make_unique<MenuItemsPanel>(); }});
    scenes.push_back({"wait_cancellable", [] { return WaitScene(true); }});
    scenes.push_back({"wait_not_cancellable", [] { return WaitScene(false); }});
    scenes.push_back({"property_sheet", [] { return std::make_unique<SheetScene>(); }});
    return scenes;
}

QImage RenderScene(QWidget& scene) {
    QWidget* shown = &scene;
    if (auto* sheet = dynamic_cast<SheetScene*>(&scene))
        shown = &sheet->Sheet();
    QImage image(shown->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    shown->render(&image);
    return image;
}
