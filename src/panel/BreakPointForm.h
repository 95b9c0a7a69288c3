// TBreakPointForm: the breakpoint dialog, an address of up to four hexadecimal digits.
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

namespace hexmoor {

class TBreakPointForm : public QDialog {
    Q_OBJECT
public:
    explicit TBreakPointForm(QWidget* parent = nullptr);

    // Shows `current` and returns the edited text, or nothing on Cancel.
    std::optional<QString> Ask(const QString& current);

    QLineEdit* BPEdit = nullptr;
};

}  // namespace hexmoor
