// The widget toolkit's costs: the status strip's setters called from a worker (side by side with a
// plain mutex-guarded store, the least a thread-safe setter can cost), and one paint of a 600 x 400
// panel of all controls (side by side with the same panel built from Qt's stock widgets; the goal is
// under 4 ms).

#include "OffscreenBenchmarkMain.h"
#include "widgets/ABar.h"
#include "widgets/ABitmap.h"
#include "widgets/AButton.h"
#include "widgets/AComboBox.h"
#include "widgets/AListCtrl.h"
#include "widgets/AStatic.h"
#include "widgets/AStatus.h"
#include "widgets/ASyncSettingBitmap.h"
#include "widgets/gallery/SkinPanel.h"
#include "widgets/MultiLineComboBox.h"
#include "widgets/SeparatorComboBox.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleFactory>
#include <benchmark/benchmark.h>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

constexpr int kSetterCalls = 100000;
constexpr double kPaintGoalMilliseconds = 4.0;
const QSize kPanelSize(600, 400);

using Clock = std::chrono::steady_clock;

double SecondsOnAWorker(const std::function<void()>& work) {
    double seconds = 0;
    std::thread worker([&] {
        const auto start = Clock::now();
        work();
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    });
    worker.join();
    return seconds;
}

struct GuardedPosition {
    std::mutex lock;
    double position = 0;
    void Set(double value) {
        std::lock_guard guard(lock);
        position = value;
    }
};

void SetterBenchmark(benchmark::State& state, bool animating) {
    SkinPanel panel(QSize(400, 60));
    AStatus status(1000, &panel);
    status.setGeometry(5, 5, 390, 49);
    panel.show();
    if (animating)
        status.StartAnimation();
    GuardedPosition peer;
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        ours += SecondsOnAWorker([&] {
            for (int i = 0; i < kSetterCalls; ++i)
                status.SetPos(i);
        });
        theirs += SecondsOnAWorker([&] {
            for (int i = 0; i < kSetterCalls; ++i)
                peer.Set(i);
        });
        QCoreApplication::processEvents();
    }
    status.StopAnimation();
    const double calls = static_cast<double>(kSetterCalls) * state.iterations();
    state.counters["ours_ns_per_call"] = ours / calls * 1e9;
    state.counters["mutex_store_ns_per_call"] = theirs / calls * 1e9;
    state.counters["ours_vs_mutex_store"] = ours / theirs;
}

void BM_StatusSetPosOnAWorkerWhileAnimating(benchmark::State& state) {
    SetterBenchmark(state, true);
}
BENCHMARK(BM_StatusSetPosOnAWorkerWhileAnimating)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_StatusSetPosOnAWorkerRepainting(benchmark::State& state) {
    SetterBenchmark(state, false);
}
BENCHMARK(BM_StatusSetPosOnAWorkerRepainting)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same layout of controls, from the toolkit or from Qt's stock widgets.
struct PanelLayout {
    QRect button{10, 10, 36, 36};
    QRect wideButton{60, 19, 99, 18};
    QRect status{10, 60, 580, 49};
    QRect combo{10, 125, 180, 22};
    QRect setting{220, 115, 180, 48};
    QRect bar{10, 180, 580, 12};
    QRect bitmap{10, 205, 101, 26};
    QRect label{130, 205, 200, 40};
    QRect list{10, 255, 200, 130};
    QRect multiLine{230, 255, 220, 40};
    QRect separatorCombo{230, 310, 180, 24};
};

// A button of the picture set that starts at `normal` (pressed and mask follow it).
void AddPictureButton(QWidget& panel, int id, const QPoint& position, int normal) {
    auto* button = new AButton(id, &panel);
    button->move(position);
    button->SetImages(AButton::kNormalImage, normal);
    button->SetImages(AButton::kPressedImage, normal + 1);
    button->SetImages(AButton::kMaskImage, normal + 2);
    button->SizeToImage();
}

std::unique_ptr<QWidget> ToolkitPanel() {
    const PanelLayout layout;
    auto panel = std::make_unique<SkinPanel>(kPanelSize);
    panel->setFont(toolkitfonts::Tahoma13());
    AddPictureButton(*panel, 1003, layout.button.topLeft(), skin::kStartButton);
    AddPictureButton(*panel, 1004, layout.wideButton.topLeft(), skin::kWideButton);
    auto* status = new AStatus(1000, panel.get());
    status->setGeometry(layout.status);
    status->SetTextFont(toolkitfonts::Tahoma13());
    const AString line1("Copying songs");
    const AString line2("\\Rock\\Artist\\Album\\Title");
    status->SetStatus(3, &line1, &line2, false);
    status->SetPos(40);
    status->ShowCancelButton(true);
    auto* combo = new AComboBox(1014, panel.get());
    combo->setGeometry(layout.combo);
    combo->AddString(QStringLiteral("My iPod"));
    combo->SetCurSel(0);
    auto* setting = new ASyncSettingBitmap(1012, panel.get());
    setting->setGeometry(layout.setting);
    setting->SetModeNames([] {
        return ASyncSettingBitmap::ModeNames{
            QStringLiteral("Sync iTunes and iPod"), QStringLiteral("Merge iTunes and iPod"),
            QStringLiteral("Copy iTunes to iPod"),  QStringLiteral("Copy iPod to iTunes"),
            QStringLiteral("Make iPod equal"),      QStringLiteral("Make iTunes equal")};
    });
    setting->SetLayout(ASyncSettingBitmap::kPictureLayout);
    setting->SetSetting(1);
    auto* bar = new ABar(3010, panel.get());
    bar->setGeometry(layout.bar);
    bar->SetBitmap(skin::kBarFill);
    auto* bitmap = new ABitmap(1040, panel.get());
    bitmap->setGeometry(layout.bitmap);
    bitmap->LoadImage(skin::kFirstSettingPicture, ABitmap::kImage);
    bitmap->LoadImage(skin::kSettingPictureMask, ABitmap::kMask);
    bitmap->SetMask(true);
    auto* label =
        new AStatic(1042, panel.get(), QStringLiteral("Start Now: the songs of both sides are compared"));
    label->setGeometry(layout.label);
    label->SetTextFormat(textformat::kCenteredWords);
    auto* list = new AListCtrl(3200, panel.get());
    list->setGeometry(layout.list);
    for (int i = 0; i < 5; ++i)
        list->InsertItem(i, QStringLiteral("Type %1").arg(i));
    auto* multiLine = new MultiLineComboBox(3051, panel.get());
    multiLine->setGeometry(layout.multiLine);
    multiLine->InsertString(-1, QStringLiteral("/music/Deleted"));
    multiLine->SetCurSel(0);
    auto* separatorCombo = new SeparatorComboBox(1005, panel.get());
    separatorCombo->setGeometry(layout.separatorCombo);
    separatorCombo->addItem(QStringLiteral("Library"));
    return panel;
}

std::unique_ptr<QWidget> StockPanel() {
    const PanelLayout layout;
    auto panel = std::make_unique<SkinPanel>(kPanelSize);
    panel->setFont(toolkitfonts::Tahoma13());
    const auto place = [&](QWidget* widget, const QRect& rect) { widget->setGeometry(rect); };
    auto* start = new QPushButton(panel.get());
    start->setIcon(QIcon(QPixmap::fromImage(skin::LoadMasked(skin::kStartButton, skin::kStartButtonMask))));
    place(start, layout.button);
    place(new QPushButton(QStringLiteral("Connect"), panel.get()), layout.wideButton);
    auto* progress = new QProgressBar(panel.get());
    progress->setValue(40);
    place(progress, layout.status);
    auto* combo = new QComboBox(panel.get());
    combo->addItem(QStringLiteral("My iPod"));
    place(combo, layout.combo);
    auto* setting = new QLabel(QStringLiteral("Merge iTunes and iPod"), panel.get());
    setting->setPixmap(
        QPixmap::fromImage(skin::LoadMasked(skin::kFirstSettingPicture + 1, skin::kSettingPictureMask)));
    place(setting, layout.setting);
    auto* bar = new QLabel(panel.get());
    bar->setPixmap(QPixmap::fromImage(skin::Load(skin::kBarFill)));
    bar->setScaledContents(true);
    place(bar, layout.bar);
    auto* bitmap = new QLabel(panel.get());
    bitmap->setPixmap(
        QPixmap::fromImage(skin::LoadMasked(skin::kFirstSettingPicture, skin::kSettingPictureMask)));
    place(bitmap, layout.bitmap);
    auto* label = new QLabel(QStringLiteral("Start Now: the songs of both sides are compared"), panel.get());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    place(label, layout.label);
    auto* list = new QListWidget(panel.get());
    for (int i = 0; i < 5; ++i)
        list->addItem(QStringLiteral("Type %1").arg(i));
    place(list, layout.list);
    place(new QPlainTextEdit(QStringLiteral("/music/Deleted"), panel.get()), layout.multiLine);
    auto* separatorCombo = new QComboBox(panel.get());
    separatorCombo->addItem(QStringLiteral("Library"));
    place(separatorCombo, layout.separatorCombo);
    return panel;
}

double MillisecondsToPaint(QWidget& panel, QImage& image) {
    const auto start = Clock::now();
    panel.render(&image);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_PaintPanelOfAllControlsVersusStockWidgets(benchmark::State& state) {
    std::unique_ptr<QWidget> ours = ToolkitPanel();
    std::unique_ptr<QWidget> stock = StockPanel();
    QImage image(kPanelSize, QImage::Format_ARGB32_Premultiplied);
    MillisecondsToPaint(*ours, image); // both lay out and polish before they are timed
    MillisecondsToPaint(*stock, image);
    double oursTotal = 0;
    double stockTotal = 0;
    for (auto _ : state) {
        oursTotal += MillisecondsToPaint(*ours, image);
        stockTotal += MillisecondsToPaint(*stock, image);
    }
    const double oursMean = oursTotal / state.iterations();
    state.counters["ours_ms"] = oursMean;
    state.counters["stock_widgets_ms"] = stockTotal / state.iterations();
    state.counters["ours_vs_stock"] = oursTotal / stockTotal;
    state.counters["under_4ms"] = oursMean < kPaintGoalMilliseconds ? 1 : 0;
}
BENCHMARK(BM_PaintPanelOfAllControlsVersusStockWidgets)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
