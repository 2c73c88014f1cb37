#pragma once
// The toolkit's message box: a warning icon, a bold message, up to four description lines and up to
// five buttons whose captions the caller chooses, sized to its texts. It ends only by a button:
// Escape, Enter without a focused button and the close box leave it open. DoModal answers 0 for the
// first button up to 4 for the fifth, or -1 when it could not run.

#include "widgets/ExplicitEndDialog.h"

#include <QString>
#include <array>

class QLabel;
class QPushButton;

class AAlert : public ExplicitEndDialog {
public:
    static constexpr int kButtonCount = 5;
    static constexpr int kDescriptionCount = 4;
    static constexpr int kFirstButtonId = 10001;

    explicit AAlert(QWidget* parent = nullptr);

    void SetMessage(const QString& text);
    void SetDescription1(const QString& text) { SetDescription(0, text); }
    void SetDescription2(const QString& text) { SetDescription(1, text); }
    void SetDescription3(const QString& text) { SetDescription(2, text); }
    void SetDescription4(const QString& text) { SetDescription(3, text); }
    void SetButton1(const QString& caption) { SetButton(0, caption); }
    void SetButton2(const QString& caption) { SetButton(1, caption); }
    void SetButton3(const QString& caption) { SetButton(2, caption); }
    void SetButton4(const QString& caption) { SetButton(3, caption); }

    int DoModal();

    // Fills the controls and lays them out; DoModal does it before it shows the alert.
    void Prepare();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetDescription(int index, const QString& text);
    void SetButton(int index, const QString& caption);
    void FillTexts();
    void LayOut();
    int VisibleButtonCount() const;
    // The static's height for its text: one line height per started multiple of its width, for every
    // "\r\n" piece that has a width.
    static int TextHeight(const QLabel& label, const QString& text);
    void FitStatic(QLabel& label, const QString& text) const;
    void PlaceDescriptions(int& bottom);
    void PlaceButtons(int top, const std::array<int, kButtonCount>& widths, int required);

    QLabel* m_icon;
    QLabel* m_message;
    std::array<QLabel*, kDescriptionCount> m_descriptions{};
    std::array<QPushButton*, kButtonCount> m_buttons{};
    QString m_messageText;
    std::array<QString, kDescriptionCount> m_descriptionTexts;
    std::array<QString, kButtonCount> m_captions;
};
