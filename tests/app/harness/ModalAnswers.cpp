#include "harness/ModalAnswers.h"

#include "widgets/AAlert.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

QString AlertTexts(const AAlert& alert) {
    QStringList texts;
    for (const QLabel* label : alert.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    }
    return texts.join(" / ");
}

std::unique_ptr<ModalWatcher> AnswerBoxesAnd(ModalAnswers& answers, std::function<void(QWidget*)> other) {
    return std::make_unique<ModalWatcher>([&answers, other = std::move(other)](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            answers.boxes.append(box->text());
            box->done(QMessageBox::Ok);
        } else if (auto* alert = dynamic_cast<AAlert*>(modal)) {
            answers.questions.append(AlertTexts(*alert));
            for (QPushButton* button : alert->findChildren<QPushButton*>()) {
                if (button->isVisible() && button->text() == "Yes") {
                    button->click();
                    break;
                }
            }
        } else {
            other(modal);
        }
        return false;
    });
}
