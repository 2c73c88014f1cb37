#include "app/window/MainWindowControls.h"

#include "app/skin/AppSkin.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"

namespace {

constexpr int W = MainWindowControls::kWidth;
constexpr int T = MainWindowControls::kClientTop;
constexpr ColorRef kSeparatorColor = 0x009B9B9B;
constexpr ColorRef kBandColor = 0x00D8D6D4;
constexpr ColorRef kChooserFrame = 0x00808080;
constexpr ColorRef kTextColor = 0x00363330;
constexpr ColorRef kDimText = 0x00707070;

void SetButtonImages(AButton& button, int normal, int pressed, int mask) {
    button.SetImages(AButton::kNormalImage, normal);
    button.SetImages(AButton::kPressedImage, pressed);
    button.SetImages(AButton::kMaskImage, mask);
    button.SizeToImage();
    button.SetFocusStyle(2);
}

void PlaceButton(AButton& button, int normal, int pressed, int mask, const QPoint& at) {
    button.move(at);
    SetButtonImages(button, normal, pressed, mask);
}

// A caption over a wide button that lets the button have the clicks.
void PlaceCaption(AStatic& caption, const AButton& button, const QFont& font) {
    caption.setGeometry(button.geometry());
    caption.SetTextFormat(textformat::kCenteredLine);
    caption.SetFontOverride(font);
    caption.SetTextColor(kTextColor);
    caption.setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PlaceBar(ABar& bar, const QRect& rect) {
    bar.setGeometry(rect);
}

void PlacePicture(ABitmap& picture, int pictureId, const QRect& rect) {
    picture.setGeometry(rect);
    picture.LoadImage(pictureId, ABitmap::kImage);
    picture.SetTransparentColor(true, appskin::kTransparentKey);
    picture.SizeToImage(ABitmap::kCentre, ABitmap::kFitWidth | ABitmap::kFitHeight);
}

void PlaceInfo(AStatic& info, const QRect& rect, const QFont& font) {
    info.setGeometry(rect);
    info.SetTextFormat(textformat::kCenteredWords);
    info.SetFontOverride(font);
    info.SetTextColor(kTextColor);
}

} // namespace

MainWindowControls::MainWindowControls(QWidget& window)
    : textFont(toolkitfonts::Make(QStringLiteral("Tahoma"), 13, toolkitfonts::kWeightNormal)),
      boldFont(toolkitfonts::Make(QStringLiteral("Tahoma"), 13, toolkitfonts::kWeightBold)),
      captionFont(toolkitfonts::Make(QStringLiteral("Verdana"), 14, toolkitfonts::kWeightBold)), menu(&window),
      topBar(1017, &window), separator(1016, &window), buttonBand(1018, &window), panelEdge(1013, &window),
      bottomBar(1019, &window), libraryPicture(1001, &window), devicePicture(1002, &window),
      syncPicture(1012, &window), leftInfo(1048, &window), rightInfo(1049, &window), chooser(1014, &window),
      leftPlayLists(1005, &window), rightPlayLists(1032, &window), startButton(1003, &window),
      startCaption(1042, &window, QStringLiteral("Start Now")), syncOptions(1015, &window),
      syncOptionsCaption(0, &window, QStringLiteral("Sync Options...")), selectPlayLists(1050, &window),
      selectPlayListsCaption(0, &window, QStringLiteral("Playlists...")), newTunesPlayList(1033, &window),
      newPodPlayList(1030, &window), logButton(1008, &window), status(1000, &window),
      localAddress(1037, &window), log(1009, &window) {
    menu.setGeometry(2, 22, W - 4, kMenuHeight);
    menu.SetItemFont(textFont);
    menu.SetOwnerWindow(&window);
    menu.SetRightEdgeWindow(&window);
    menu.MakeOwnerDraw();

    PlaceBar(topBar, QRect(2, T, W - 4, 5));
    topBar.SetBitmap(skin::kBarFill);
    PlaceBar(separator, QRect(2, T + 196, W - 4, 1));
    separator.SetColor(kSeparatorColor);
    PlaceBar(buttonBand, QRect(2, T + 197, W - 4, 64));
    buttonBand.SetColor(kBandColor);
    PlaceBar(panelEdge, QRect(2, T + 261, W - 4, 4));
    panelEdge.SetBitmap(skin::kBarFill);
    PlaceBar(bottomBar, QRect(2, kFullHeight - 6, W - 4, 4));
    bottomBar.SetBitmap(skin::kBarFill);

    chooser.setGeometry(310, T + 10, 180, 20);
    chooser.SetFrameColor(kChooserFrame);
    chooser.SetEmptyText(QStringLiteral("No iPod connected"));
    PlacePicture(libraryPicture, appskin::kLibrary, QRect(48, T + 34, 64, 64));
    PlacePicture(devicePicture, appskin::kUnknownDevice, QRect(388, T + 34, 64, 64));

    syncPicture.setGeometry(190, T + 52, 120, 32);
    PlaceInfo(leftInfo, QRect(10, T + 100, 200, 62), textFont);
    PlaceInfo(rightInfo, QRect(290, T + 100, 200, 62), textFont);

    leftPlayLists.setGeometry(30, T + 166, 150, 22);
    leftPlayLists.setFont(textFont);
    rightPlayLists.setGeometry(320, T + 166, 150, 22);
    rightPlayLists.setFont(textFont);
    PlaceButton(newTunesPlayList, skin::kSmallButton, skin::kSmallButtonPressed, skin::kSmallButtonMask,
                QPoint(184, T + 166));
    PlaceButton(newPodPlayList, skin::kSmallButton, skin::kSmallButtonPressed, skin::kSmallButtonMask,
                QPoint(284, T + 166));
    newTunesPlayList.hide();
    newPodPlayList.hide();

    startButton.move(232, T + 126);
    startCaption.setGeometry(190, T + 166, 120, 18);
    startCaption.SetTextFormat(textformat::kCenteredLine);
    startCaption.SetFontOverride(captionFont);
    startCaption.SetTextColor(kTextColor);
    SetStartButtonLook(false);

    PlaceButton(syncOptions, skin::kWideButton, skin::kWideButtonPressed, skin::kWideButtonMask,
                QPoint(12, T + 210));
    const QFont buttonFont = toolkitfonts::Make(QStringLiteral("Tahoma"), 11, toolkitfonts::kWeightNormal);
    PlaceCaption(syncOptionsCaption, syncOptions, buttonFont);
    PlaceButton(selectPlayLists, skin::kWideButtonB, skin::kWideButtonBPressed, skin::kWideButtonBMask,
                QPoint(12, T + 234));
    PlaceCaption(selectPlayListsCaption, selectPlayLists, buttonFont);
    PlaceButton(logButton, skin::kTwoLookButtonA, skin::kTwoLookButtonAPressed, skin::kTwoLookButtonMask,
                QPoint(W - 46, T + 220));

    status.setGeometry(124, T + 205, 252, 49);
    status.SetTextFont(textFont);
    status.SetTitleFont(boldFont);

    localAddress.setGeometry(W - 150, T + 246, 140, 13);
    localAddress.SetTextFormat(textformat::kRight | textformat::kSingleLine);
    localAddress.SetFontOverride(toolkitfonts::Make(QStringLiteral("Tahoma"), 11, toolkitfonts::kWeightNormal));
    localAddress.SetTextColor(kDimText);

    log.setGeometry(8, kLogTop + 2, W - 16, kFullHeight - kLogTop - 10);
    log.setFont(textFont);
}

void MainWindowControls::EnableOperationControls(bool enable, bool rightSide) {
    syncPicture.EnableWindow(enable);
    leftPlayLists.setEnabled(enable);
    rightPlayLists.setEnabled(enable && rightSide);
    chooser.EnableWindow(enable);
    newTunesPlayList.EnableWindow(enable);
    newPodPlayList.EnableWindow(enable && rightSide);
    syncOptions.EnableWindow(enable);
    selectPlayLists.EnableWindow(enable);
}

void MainWindowControls::SetLogButtonLook(bool shown) {
    if (shown)
        SetButtonImages(logButton, skin::kTwoLookButtonB, skin::kTwoLookButtonBPressed, skin::kTwoLookButtonMask);
    else
        SetButtonImages(logButton, skin::kTwoLookButtonA, skin::kTwoLookButtonAPressed, skin::kTwoLookButtonMask);
}

void MainWindowControls::SetStartButtonLook(bool cancel) {
    if (cancel)
        SetButtonImages(startButton, skin::kStopButton, skin::kStopButtonPressed, skin::kStopButtonMask);
    else
        SetButtonImages(startButton, skin::kStartButton, skin::kStartButtonPressed, skin::kStartButtonMask);
    const QString text = cancel ? QStringLiteral("Cancel") : QStringLiteral("Start Now");
    startCaption.SetText(text);
    startButton.setToolTip(cancel ? text : QStringLiteral("Perform sync"));
    startButton.update();
}
