#include "app/dialogs/AddPlayListDlg.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/WindowMessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The template, in dialog units.
constexpr int kClientWidth = 186;
constexpr int kClientHeight = 58;
const QRect kLabelUnits(7, 7, 172, 8);
const QRect kEditUnits(7, 18, 172, 14);
const QRect kOkUnits(68, 38, 50, 14);
const QRect kCancelUnits(129, 38, 50, 14);

} // namespace

AddPlayListDlg::AddPlayListDlg(QWidget* parent)
    : CodedDialog(parent,
                  Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_edit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Add Playlist"));
    setFixedSize(nativeui::DialogUnitsToPixelsX(kClientWidth), nativeui::DialogUnitsToPixelsY(kClientHeight));
    auto* label = new QLabel(QStringLiteral("New Playlist Name:"), this);
    label->setGeometry(Pixels(kLabelUnits));
    m_edit->setObjectName(QStringLiteral("ctl_%1").arg(kEditId));
    m_edit->setGeometry(Pixels(kEditUnits));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ctl_%1").arg(nativeui::kIdOk));
    ok->setGeometry(Pixels(kOkUnits));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ctl_%1").arg(nativeui::kIdCancel));
    cancel->setGeometry(Pixels(kCancelUnits));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_name = m_edit->text().trimmed();
        done(nativeui::kIdOk);
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(nativeui::kIdCancel); });
    m_edit->setFocus();
}
