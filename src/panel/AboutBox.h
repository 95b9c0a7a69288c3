// TAboutBox: the program's name and version beside a picture of its own.
#pragma once

#include <QDialog>

namespace hexmoor {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace hexmoor
