#include "panel/BreakPointForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace hexmoor {

TBreakPointForm::TBreakPointForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("BreakPoint");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("BreakPoint Address:", this);
    BPEdit = new QLineEdit(this);
    BPEdit->setMaxLength(4);
    label->setBuddy(BPEdit);
    // Typed in upper case, as the address is shown.
    connect(BPEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = BPEdit->cursorPosition();
        BPEdit->setText(text.toUpper());
        BPEdit->setCursorPosition(cursor);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(BPEdit);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

std::optional<QString> TBreakPointForm::Ask(const QString& current) {
    BPEdit->setText(current);
    BPEdit->selectAll();
    BPEdit->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return BPEdit->text();
}

}  // namespace hexmoor
