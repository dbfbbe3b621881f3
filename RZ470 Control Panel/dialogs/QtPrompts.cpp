#include "QtPrompts.h"

#include "CError.h"
#include "CTextEntry.h"
#include "HeldKeyFilter.h"
#include "NumberEntry.h"

#include <QCommandLinkButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include <algorithm>

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
    const int chosen = run(box);
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return chosen == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtPrompts::runNumberEntry(NumberEntry& dialog) {
    run(dialog);
}

void QtPrompts::runTextEntry(CTextEntry& dialog) {
    run(dialog);
}

void QtPrompts::showError(CError& popup, uint8_t code) {
    popup.m_messageCode = code;
    popup.update();
    run(popup);
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
    const int chosen = run(dialog);
    for (const Link& link : kLinks) {
        if (chosen == static_cast<int>(link.option)) {
            return link.option;
        }
    }
    return FavouriteOption::Cancel;
}

QString QtPrompts::openFileName(const QString& filters) {
    QFileDialog dialog(parent_, QString(), QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtPrompts::saveFileName(const QString& filters) {
    QFileDialog dialog(parent_, QString(), QString(), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return run(dialog) == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

int QtPrompts::runModal(QDialog& dialog) {
    return run(dialog);
}

int QtPrompts::run(QDialog& dialog) {
    if (closedForGood_) {
        dialog.setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    open_.emplace_back(&dialog);
    // Not to be answered by a key still held from the window before it.
    const HeldKeyFilter heldKeys(dialog);
    const int result = dialog.exec();
    open_.erase(std::remove(open_.begin(), open_.end(), QPointer<QDialog>(&dialog)), open_.end());
    return result;
}

void QtPrompts::closeOpenDialogs(Closing closing) {
    closedForGood_ = closedForGood_ || closing == Closing::ForGood;
    // done(), not reject(): a dialog's own reject may ask a question of its own (the demo loop
    // offers to keep its settings). Each loop ends once control is back in it; one already
    // ended but not yet returned is turned to rejected too, so its answer is not applied.
    const std::vector<QPointer<QDialog>> open = open_;
    for (auto dialog = open.rbegin(); dialog != open.rend(); ++dialog) {
        if (*dialog != nullptr) {
            (*dialog)->done(QDialog::Rejected);
        }
    }
}
