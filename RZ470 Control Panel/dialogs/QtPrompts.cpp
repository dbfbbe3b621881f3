#include "QtPrompts.h"

#include "CError.h"
#include "CTextEntry.h"
#include "NumberEntry.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQtIcon(Prompts::Icon icon) {
    switch (icon) {
        case Prompts::Icon::Information:
            return QMessageBox::Information;
        case Prompts::Icon::Warning:
            return QMessageBox::Warning;
        case Prompts::Icon::Error:
            return QMessageBox::Critical;
        case Prompts::Icon::Question:
            return QMessageBox::Question;
        case Prompts::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Prompts::Answer QtPrompts::message(const QString& text, const QString& title, Buttons buttons, Icon icon) {
    QMessageBox box(toQtIcon(icon), title, text,
                    buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    parent_);
    const int chosen = box.exec();
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtPrompts::runNumberEntry(NumberEntry& dialog) {
    dialog.exec();
}

void QtPrompts::runTextEntry(CTextEntry& dialog) {
    dialog.exec();
}

void QtPrompts::showError(CError& popup, uint8_t code) {
    popup.m_messageCode = code;
    popup.update();
    popup.exec();
}

QString QtPrompts::openFileName(const QString& filters) {
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filters);
}

QString QtPrompts::saveFileName(const QString& filters) {
    return QFileDialog::getSaveFileName(parent_, QString(), QString(), filters);
}

int QtPrompts::runModal(QDialog& dialog) {
    return dialog.exec();
}
