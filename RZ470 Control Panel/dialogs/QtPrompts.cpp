#include "QtPrompts.h"

#include "CError.h"
#include "CTextEntry.h"
#include "NumberEntry.h"

#include <QCommandLinkButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

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

Prompts::FavouriteOption QtPrompts::favouriteOptions() {
    struct Link {
        const char* text;
        FavouriteOption option;
    };
    static constexpr Link kLinks[] = {{"Save", FavouriteOption::Save},
                                      {"Load", FavouriteOption::Load},
                                      {"Delete", FavouriteOption::Delete},
                                      {"Cancel", FavouriteOption::Cancel}};

    QDialog dialog(parent_);
    dialog.setWindowTitle(QString::fromLatin1(kOptionsTitle));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(&dialog);
    auto* instruction = new QLabel(QString::fromLatin1(kOptionsInstruction), &dialog);
    QFont larger = instruction->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    larger.setBold(true);
    instruction->setFont(larger);
    layout->addWidget(instruction);
    layout->addWidget(new QLabel(QString::fromLatin1(kOptionsContent), &dialog));
    for (const Link& link : kLinks) {
        auto* button = new QCommandLinkButton(QString::fromLatin1(link.text), &dialog);
        const int code = static_cast<int>(link.option);
        QObject::connect(button, &QCommandLinkButton::clicked, &dialog,
                         [&dialog, code] { dialog.done(code); });
        layout->addWidget(button);
    }
    const int chosen = dialog.exec();
    for (const Link& link : kLinks) {
        if (chosen == static_cast<int>(link.option)) {
            return link.option;
        }
    }
    return FavouriteOption::Cancel;
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
