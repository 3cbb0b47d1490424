// The about box of the Help menu: eight lines about the family of valve
// gear programs Vexlin belongs to, and a Close button under them.
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace vx {

class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    // The lines' area; the Close button's row lies under it.
    static constexpr int kClientWidth = 340;
    static constexpr int kClientHeight = 143;
    static constexpr int kLabelCount = 8;

    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Label(int n) const { return labels_[static_cast<std::size_t>(n - 1)]; } // 1..8
    QPushButton* CloseButton() const { return close_; }

private:
    std::array<QLabel*, kLabelCount> labels_{};
    QPushButton* close_ = nullptr;
};

} // namespace vx
