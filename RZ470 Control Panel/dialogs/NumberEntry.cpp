#include "NumberEntry.h"

#include "EntryParser.h"
#include "Prompts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

NumberEntry::NumberEntry(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), edit_(new QLineEdit(this)) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &NumberEntry::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NumberEntry::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(kPromptText), this));
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    // Sized once, before showing: an entry dialog is not resizable.
    setFixedSize(sizeHint());
}

void NumberEntry::InitDialog() {
    edit_->setText(m_decimalMode ? EntryParser::DecimalText(m_decimalValue)
                                 : EntryParser::IntegerText(m_value));
    openedText_ = edit_->text();
    m_entered = false;
    edit_->selectAll();
    edit_->setFocus();
}

void NumberEntry::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void NumberEntry::accept() {
    // Typing over the number with the same digits still enters it.
    if (!edit_->isModified() && edit_->text() == openedText_) {
        QDialog::accept();
        return;
    }
    switch (EntryParser::Apply(edit_->text(), m_decimalMode != 0, m_decimalValue, m_value)) {
        case EntryParser::Verdict::Accepted:
            m_entered = true;
            QDialog::accept();
            break;
        case EntryParser::Verdict::InvalidLength:
            prompts_.message(QString::fromLatin1(kInvalidLengthText), QString::fromLatin1(kErrorTitle),
                             Prompts::Buttons::Ok, Prompts::Icon::None);
            QDialog::accept();
            break;
        case EntryParser::Verdict::InvalidCharacter:
            // The entry closes first, so the message stands alone over the panel.
            QDialog::reject();
            prompts_.message(QString::fromLatin1(kInvalidCharacterText), QString::fromLatin1(kErrorTitle),
                             Prompts::Buttons::Ok, Prompts::Icon::None);
            break;
    }
}
