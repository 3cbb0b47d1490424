// The about box of the Help menu: eight lines about the family of valve
// gear programs Vexlin belongs to, no buttons; closed with its close box.
#pragma once

#include <QDialog>
#include <array>

class QLabel;

namespace vx {

class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 340;
    static constexpr int kClientHeight = 143;
    static constexpr int kLabelCount = 8;

    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Label(int n) const { return labels_[static_cast<std::size_t>(n - 1)]; } // 1..8

private:
    std::array<QLabel*, kLabelCount> labels_{};
};

} // namespace vx
