#pragma once
// The user's answers to what the window asks while a test drives it: every message box is answered
// with OK and every question of the alert box with "Yes", their texts kept; any other modal dialog
// is handed to the test.

#include "widgets/WidgetTestSupport.h"

#include <QStringList>
#include <functional>
#include <memory>

class AAlert;

struct ModalAnswers {
    QStringList boxes;
    QStringList questions; // the alert's visible texts, joined by " / "
};

// Watches until it goes; `answers` must outlive it.
std::unique_ptr<ModalWatcher> AnswerBoxesAnd(ModalAnswers& answers, std::function<void(QWidget*)> other);
// The alert's visible texts, one after the other.
QString AlertTexts(const AAlert& alert);
