#include "panel/MemoryWindow.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>
#include <utility>

#include "core/Hex.h"
#include "debug/DebugSession.h"
#include "debug/Peek.h"
#include "panel/ChipMemories.h"
#include "panel/FormStyle.h"
#include "panel/MemoryView.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// The registers the cursor can follow, in the Follow box's order.
constexpr std::array<std::pair<const char*, uint16_t TCpuRegisters::*>, 5> kFollowed{{
    {"None", nullptr},
    {"SP", &TCpuRegisters::RegisterSP},
    {"X", &TCpuRegisters::RegisterX},
    {"Y", &TCpuRegisters::RegisterY},
    {"PC", &TCpuRegisters::RegisterPC},
}};

constexpr std::array kLegend{&kRegisterBlock, &kInternalRam, &kEeprom};

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Range(const TChipMemorySpan& span) {
    return Text("$" + Hex4(span.Begin) + "-$" + Hex4(span.End) + " " + span.Memory->Name);
}

std::vector<uint8_t> Snapshot(const TMachine& machine) {
    std::vector<uint8_t> bytes(0x10000);
    for (uint32_t address = 0; address <= 0xFFFF; ++address) bytes[address] = PeekByte(machine, uint16_t(address));
    return bytes;
}

QLabel* Swatch(QWidget* parent, QColor background) {
    auto* label = new QLabel(parent);
    SetBackground(label, background);
    label->setContentsMargins(4, 1, 4, 1);
    return label;
}

}  // namespace

TMemoryWindow::TMemoryWindow(TDebugContext& context, QWidget* owner) : TDebugWindow(context, "Memory", owner) {
    CreateWidgets();
    ConnectWidgets();
    TakeSnapshots(false);
    ShowLegend();
    ShowStatus();
}

void TMemoryWindow::CreateWidgets() {
    setFont(MonoFont());
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    goTo_ = new QLineEdit(this);
    goTo_->setObjectName("MemoryGoTo");
    goTo_->setPlaceholderText("address, symbol or expression");
    goTo_->setClearButtonEnabled(true);
    follow_ = new QComboBox(this);
    follow_->setObjectName("MemoryFollow");
    for (const auto& [name, member] : kFollowed) follow_->addItem(name);
    auto* goToLabel = new QLabel("&Go to", this);
    goToLabel->setBuddy(goTo_);
    auto* followLabel = new QLabel("&Follow", this);
    followLabel->setBuddy(follow_);
    top->addWidget(goToLabel);
    top->addWidget(goTo_, 1);
    top->addSpacing(12);
    top->addWidget(followLabel);
    top->addWidget(follow_);
    layout->addLayout(top);

    view_ = new TMemoryView(context_.Machine, this);
    view_->setObjectName("MemoryView");
    layout->addWidget(view_, 1);

    auto* legend = new QHBoxLayout;
    for (const TChipMemory* memory : kLegend) {
        legend_.push_back(Swatch(this, QColor(memory->Tint)));
        legend->addWidget(legend_.back());
    }
    QLabel* changed = Swatch(this, palette().color(QPalette::Base));
    changed->setText("changed");
    QPalette red = changed->palette();
    red.setColor(QPalette::WindowText, QColor(kChangedByteColour));
    changed->setPalette(red);
    legend->addWidget(changed);
    legend->addStretch();
    layout->addLayout(legend);

    status_ = new QLabel(this);
    status_->setObjectName("MemoryStatus");
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);
    setTabOrder(goTo_, follow_);
    setTabOrder(follow_, view_);
}

void TMemoryWindow::ConnectWidgets() {
    view_->MayEdit = context_.Stopped;
    view_->SetReference(&atStopBefore_);
    connect(goTo_, &QLineEdit::returnPressed, this, &TMemoryWindow::GoToTyped);
    connect(follow_, &QComboBox::currentIndexChanged, this, [this] {
        followed_.reset();
        Refresh();
    });
    connect(view_, &TMemoryView::CursorMoved, this, [this] {
        note_.clear();
        ShowStatus();
    });
    connect(view_, &TMemoryView::ByteTyped, this, &TMemoryWindow::Write);
    auto* whoWrote = new QAction("Who Wrote This?", view_);
    whoWrote->setObjectName("MemoryWhoWroteAction");
    connect(whoWrote, &QAction::triggered, this, [this] { WhoWrote(view_->Cursor()); });
    view_->addAction(whoWrote);
    connect(view_, &TMemoryView::EditRefused, this, [this] { Say("The program is running: stop it to edit memory"); });
}

void TMemoryWindow::Refresh() {
    if (!isVisible()) return;
    if (context_.StopCount() != stopsSeen_) TakeSnapshots(true);
    Follow();
    ShowLegend();
    ShowStatus();
    view_->viewport()->update();
}

void TMemoryWindow::GoTo(uint16_t address) { view_->SetCursor(address); }

// Stops seen while hidden are not compared: the window starts again from what it sees now.
void TMemoryWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    if (context_.StopCount() != stopsSeen_) TakeSnapshots(false);
    Refresh();
}

void TMemoryWindow::TakeSnapshots(bool newStop) {
    stopsSeen_ = context_.StopCount();
    std::vector<uint8_t> now = Snapshot(context_.Machine);
    atStopBefore_ = newStop ? std::move(atLastStop_) : now;
    atLastStop_ = std::move(now);
}

void TMemoryWindow::GoToTyped() {
    std::string error, note;
    const std::optional<uint16_t> address = context_.Session.ReadAddress(goTo_->text().toStdString(), error, &note);
    if (!address) {
        Say("Go to: " + Text(error));
        return;
    }
    GoTo(*address);
    if (!note.empty()) Say("Go to: " + Text(note));
    view_->setFocus();
}

void TMemoryWindow::WhoWrote(uint16_t address) {
    if (!context_.Stopped()) return Say("The program is running: stop it to go back");
    std::string refused;
    context_.Act([&] { refused = context_.Session.WhoWrote(address); });
    const TDebugStop* stop = context_.CurrentStop();
    Say(Text(!refused.empty() ? refused : stop ? stop->Text : ""));
}

// The cursor is already on the next byte; the note names the byte written.
void TMemoryWindow::Write(uint16_t address, uint8_t value) {
    TMachine& machine = context_.Machine;
    const bool throughRules = machine.InRegisterWindow(address);
    const std::string name = throughRules ? RegisterNameAt(address - machine.IRegBeg) : "";
    context_.Act([this, &machine, address, value] {
        PokeByte(machine, address, value);
        context_.Session.MachineEdited();
    });
    if (throughRules) Say(Text("$" + Hex4(address) + " " + name + " written through the register rules"));
}

// The cursor goes to the followed register's byte when the register moves (or is chosen),
// so it can be moved away to look at or edit bytes near it in between.
void TMemoryWindow::Follow() {
    const auto member = kFollowed[std::size_t(std::max(0, follow_->currentIndex()))].second;
    if (!member) return;
    const uint16_t address = context_.Machine.*member;
    if (followed_ == address) return;
    followed_ = address;
    GoTo(address);
}

void TMemoryWindow::Say(const QString& note) {
    note_ = note;
    ShowStatus();
}

void TMemoryWindow::ShowStatus() { status_->setText(note_.isEmpty() ? Where(view_->Cursor()) : note_); }

// "$1004 PORTB — $1000-$105F register block": the address with its names and the chip
// memory it lies in.
QString TMemoryWindow::Where(uint16_t address) const {
    const TMachine& machine = context_.Machine;
    QString text = Text(context_.Debugger.Describe(address));
    if (machine.InRegisterWindow(address)) text += Text(" " + RegisterNameAt(address - machine.IRegBeg));
    if (const auto memory = ChipMemoryAt(ChipMemories(machine), address)) text += QString(" \u2014 ") + Range(*memory);
    return text;
}

void TMemoryWindow::ShowLegend() {
    const std::vector<TChipMemorySpan> spans = ChipMemories(context_.Machine);
    for (std::size_t i = 0; i < kLegend.size(); ++i) {
        QString text = QString(kLegend[i]->Name) + " off";
        for (const TChipMemorySpan& span : spans)
            if (span.Memory == kLegend[i]) text = Range(span);
        legend_[i]->setText(text);
    }
}

}  // namespace hexmoor
