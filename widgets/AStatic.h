#pragma once
// A text drawn over the skin in its own font (or the one it is given), colour and format.

#include "widgets/ColorRef.h"
#include "widgets/SkinnedControl.h"

#include <QFont>
#include <QString>
#include <optional>

class AStatic : public SkinnedControl {
public:
    AStatic(int id, QWidget* parent, const QString& text = QString());

    void SetText(const QString& text);
    const QString& GetText() const { return m_text; }
    void SetTextColor(ColorRef color);
    // The text format flags (textformat::k*), 0 = left and top.
    void SetTextFormat(int format);
    void SetFontOverride(const QFont& font);

    void Draw(QPainter& painter) override;

private:
    // Vertical centring of wrapped text: as many line heights as the text's width starts multiples
    // of the control's width.
    QRect WrappedTextRect(const QFontMetrics& metrics) const;

    QString m_text;
    ColorRef m_color = 0;
    int m_format = 0;
    QFont m_ownFont;
    std::optional<QFont> m_fontOverride;
};
