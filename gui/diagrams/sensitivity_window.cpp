#include "gui/diagrams/sensitivity_window.h"
#include "scene/diagrams/design_fault_drawing.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>

#include "gui/controls/analysis_settings.h"
#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "scene/diagrams/sensitivity_drawing.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "&Copy", "CopySensitivity", Command::Copy},
    {nullptr, "ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVari", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "SensitivityDia", kSensitivityWindowWidth, kSensitivityWindowHeight, "MainMenuSensitivity", kMenu, "CloseSen",
    816, 8, "SBDynVarN", "UnDoDnN", 5, 1, false, false,
};

constexpr int kDefaultRows = 25;

} // namespace

TSensitivityDia::TSensitivityDia(const DiagramHost& host, QWidget* parent)
    : TAnalysisWindow(host, kLayout, parent), host_(host) {
    QWidget* canvas = findChild<QWidget*>(QStringLiteral("DiagramCanvas"));
    constexpr int kRow = 80;
    auto* label = new QLabel(QStringLiteral("Figure:"), canvas);
    label->setGeometry(8, kRow + 3, 44, 18);
    figure_ = new QComboBox(canvas);
    figure_->setObjectName(QStringLiteral("SensitivityFigure"));
    for (int k = 0; k < kEventFigureCount; ++k) {
        const std::string_view name = EventFigureName(static_cast<EventFigure>(k));
        figure_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    figure_->setCurrentIndex(static_cast<int>(EventFigure::CutOffDiff));
    figure_->setGeometry(54, kRow, 150, 22);
    label = new QLabel(QStringLiteral("Notch:"), canvas);
    label->setGeometry(220, kRow + 3, 40, 18);
    notch_ = new QComboBox(canvas);
    notch_->setObjectName(QStringLiteral("SensitivityNotch"));
    for (int k = 0; k < kNotchCount; ++k)
        notch_->addItem(QString::number(k + 1) + QStringLiteral(" ") + QString::fromStdString(NotchName(k)));
    notch_->setGeometry(262, kRow, 190, 22);
    label = new QLabel(QStringLiteral("Rows:"), canvas);
    label->setGeometry(468, kRow + 3, 36, 18);
    top_ = new QSpinBox(canvas);
    top_->setObjectName(QStringLiteral("SensitivityRows"));
    top_->setRange(1, kSensitivityWindowRows);
    top_->setValue(kDefaultRows);
    top_->setGeometry(506, kRow, 60, 22);
    for (QWidget* w : {static_cast<QWidget*>(figure_), static_cast<QWidget*>(notch_), static_cast<QWidget*>(top_)})
        w->setFocusPolicy(Qt::ClickFocus);
    // The figure and the rows only redraw; the notch computes again.
    const auto redrawOnly = [this] {
        reuse_ = true;
        Redraw();
    };
    connect(figure_, &QComboBox::currentIndexChanged, this, redrawOnly);
    connect(notch_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(top_, &QSpinBox::valueChanged, this, redrawOnly);
    if (canvas) canvas->installEventFilter(this);
}

void TSensitivityDia::Choose(EventFigure f, int notch, int top) {
    const QSignalBlocker a(figure_), b(notch_), c(top_);
    figure_->setCurrentIndex(static_cast<int>(f));
    notch_->setCurrentIndex(notch);
    top_->setValue(top);
    Redraw();
}

EventFigure TSensitivityDia::Figure() const { return static_cast<EventFigure>(std::max(0, figure_->currentIndex())); }

std::vector<int> TSensitivityDia::RankedIds() const {
    std::vector<int> ids;
    for (const int d : RankDimensions(result_, 0, Figure())) ids.push_back(result_.ids[static_cast<std::size_t>(d)]);
    return ids;
}

void TSensitivityDia::DrawDiagram(Canvas& c) {
    // A design that is not usable gives no figures: its cause instead.
    if (DrawDesignFault(Model(), c)) return;
    SensitivitySettings s;
    s.notch = std::clamp(notch_->currentIndex(), 0, kNotchCount - 1);
    if (!reuse_ || !result_.Ok()) {
        s.solve = LoadAnalysisSettings().solve; // SetUp > Analysis Settings
        result_ = ComputeSensitivity(Model(), s);
    }
    reuse_ = false;
    DrawSensitivityPicture(Model(), c, result_, 0, Figure(), top_->value());
}

void TSensitivityDia::GestureRedraw() { ClearAndDraw(); }

QString TSensitivityDia::Caption() const { return TitleWithUnit(QStringLiteral("Sensitivity"), LoadAnalysisSettings().unit); }

int TSensitivityDia::MakeDynamicVariableAt(int y) {
    const int row = SensitivityChartRowAt(kSensitivityChartTop, y);
    const std::vector<int> ids = RankedIds();
    if (row < 0 || row >= top_->value() || row >= static_cast<int>(ids.size())) return 0;
    const int id = ids[static_cast<std::size_t>(row)];
    if (!IsDynamicVariable(id)) return 0;
    GearState& g = Model();
    // As an editor's box left without typing: no undo entry, the value
    // kept, the dimension made the newest dynamic variable.
    g.undoPending = false;
    CommitEditorBox(g, id, DimensionValue(g, *FindDimension(id)));
    Redraw();
    if (host_.syncMainControls) host_.syncMainControls();
    return id;
}

bool TSensitivityDia::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton && MakeDynamicVariableAt(static_cast<int>(LayoutPoint(m->position()).y())) != 0)
            return true;
    }
    return TAnalysisWindow::eventFilter(watched, event);
}

} // namespace vx
