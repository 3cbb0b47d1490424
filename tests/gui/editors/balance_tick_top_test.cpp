// Balance Events' "Tick Top 4": the four dimensions that move the
// front-rear cut-off difference most over the positions ticked, and only
// those, ticked for the search.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

#include "gui/editors/balance_events_dialog.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "model/analysis/sensitivity.h"

namespace vx {
namespace {

TEST(BalanceTickTop, TicksTheFourThatMoveTheCutOffDifferenceMost) {
    GearState g;
    StartUp(g);
    TBalanceEvents dialog(g, EditorHooks{});
    dialog.show();
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("Dimensions"));
    auto* positions = dialog.findChild<QListWidget*>(QStringLiteral("Positions"));
    ASSERT_NE(table, nullptr);
    ASSERT_NE(positions, nullptr);
    // Full forward and 1/2 forward only; the driver's diameter ticked by hand.
    for (int k = 0; k < positions->count(); ++k)
        positions->item(k)->setCheckState(k == 0 || k == 2 ? Qt::Checked : Qt::Unchecked);
    table->item(dialog.DimensionRow(1), 0)->setCheckState(Qt::Checked);

    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("TickTop")), Qt::LeftButton);

    std::vector<int> ids;
    for (const DimensionInfo& d : AllDimensions())
        if (IsDynamicVariable(d.id)) ids.push_back(d.id);
    SensitivitySettings s;
    const double norm = g.frame.revArmToCentNorm;
    s.offsets = {-norm, -norm / 2};
    s.ids = ids;
    const std::vector<int> expected = TopDimensions(ComputeSensitivity(g, s), EventFigure::CutOffDiff, 4, ids);
    ASSERT_EQ(expected.size(), 4u);
    std::vector<int> ticked;
    for (const int id : ids)
        if (table->item(dialog.DimensionRow(id), 0)->checkState() == Qt::Checked) ticked.push_back(id);
    std::vector<int> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(ticked, sorted);
    const BalanceProblem p = dialog.Problem();
    EXPECT_EQ(p.vary.size(), 4u);
    auto* summary = dialog.findChild<QLabel*>(QStringLiteral("Summary"));
    ASSERT_NE(summary, nullptr);
    // Named as the table names them, the field name beside: "Stroke (stroke)".
    for (const int id : expected) {
        EXPECT_TRUE(summary->text().contains(QString::fromStdString(DimensionDisplayName(id, true))))
            << summary->text().toStdString();
        EXPECT_FALSE(DimensionDisplayName(id, false).empty());
    }
    dialog.reject();
}

} // namespace
} // namespace vx
