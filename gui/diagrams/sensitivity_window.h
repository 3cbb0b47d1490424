// TSensitivityDia, "Sensitivity": a member of the diagram windows' family
// (menu, "Close", the four dynamic-variable bars, "UnDo", "ReDraw"). Its
// picture is the bar chart of the dimensions that move the chosen event
// figure most at the chosen notch; a bar step or UnDo computes it again on
// the changed design. A double click on a dimension's row makes it the
// newest dynamic variable, as leaving an editor's box does. "Copy" puts
// the notch's derivatives on the clipboard as CSV.
#pragma once

#include "gui/diagrams/analysis_window.h"
#include "model/analysis/sensitivity.h"

class QComboBox;
class QSpinBox;

namespace vx {

class TSensitivityDia final : public TAnalysisWindow {
    Q_OBJECT

public:
    explicit TSensitivityDia(const DiagramHost& host, QWidget* parent = nullptr);

    // The chart's choices: the figure, the notch (0..8) and how many rows.
    void Choose(EventFigure f, int notch, int top);
    const SensitivityResult& Result() const { return result_; }
    // The dimensions in the order drawn.
    std::vector<int> RankedIds() const;
    // A double click at y of the picture: the row's dimension made the
    // newest dynamic variable. Returns its id, or 0 where there is none.
    int MakeDynamicVariableAt(int y);
    std::string Csv() const override { return SensitivityCsv(result_); }

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
    void GestureRedraw() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EventFigure Figure() const;

    DiagramHost host_;
    QComboBox* figure_ = nullptr;
    QComboBox* notch_ = nullptr;
    QSpinBox* top_ = nullptr;
    SensitivityResult result_;
    bool reuse_ = false; // the next drawing keeps result_ (only the figure or rows changed)
};

} // namespace vx
