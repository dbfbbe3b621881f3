#include "CTextEntry.h"

#include "LedName.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

CTextEntry::CTextEntry(QWidget* parent)
    : QDialog(parent),
      edit_(new QLineEdit(this)),
      useWavelength_(new QPushButton(QString::fromLatin1(kUseWavelengthText), this)) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Pressing it fills the field; it must never take over Enter from OK.
    useWavelength_->setAutoDefault(false);
    connect(useWavelength_, &QPushButton::clicked, this, &CTextEntry::OnUseWavelength);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTextEntry::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTextEntry::reject);

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(edit_);
    fieldRow->addWidget(useWavelength_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(kPromptText), this));
    layout->addLayout(fieldRow);
    // Made after the prompt, so the prompt stays the dialog's first label.
    refusal_ = new QLabel(this);
    layout->addWidget(refusal_);
    layout->addWidget(buttons);
    refusal_->setWordWrap(true);
    refusal_->hide();
    // Sized once, before showing: an entry dialog is not resizable.
    setFixedSize(sizeHint());
}

void CTextEntry::InitDialog() {
    ShowRefusal({});
    edit_->setText(m_name);
    openedText_ = edit_->text();
    m_entered = false;
    edit_->selectAll();
    edit_->setFocus();
    setWindowTitle(m_unitVersion >= kRangeCaptionVersion
                       ? QString::fromLatin1(kRangeCaption).arg(m_rangeLow).arg(m_rangeHigh)
                       : QString::fromLatin1(kCaption));
}

void CTextEntry::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CTextEntry::accept() {
    if (edit_->isModified() || edit_->text() != openedText_) {
        const QString name = LedName::Cut(edit_->text());
        if (const std::optional<QString> refusal = LedName::Refusal(name)) {
            ShowRefusal(*refusal);
            edit_->setFocus();
            return;
        }
        m_name = name;
        m_entered = true;
    }
    QDialog::accept();
}

void CTextEntry::ShowRefusal(const QString& refusal) {
    refusal_->setText(refusal);
    refusal_->setVisible(!refusal.isEmpty());
    setFixedSize(sizeHint());
}

void CTextEntry::OnUseWavelength() {
    edit_->setText(QStringLiteral("%1nm").arg(m_wavelength));
    // Chosen by the user, even when it is the name already shown.
    edit_->setModified(true);
}
