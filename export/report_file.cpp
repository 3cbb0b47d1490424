#include "export/report_file.h"

#include <QByteArray>
#include <QDate>

#include "platform/qt/qt_pdf_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "scene/report/design_report.h"
#include "model/analysis/report_data.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx {

QString WriteReport(const GearState& g, Paper paper, const QString& path, LengthUnit unit) {
    return WriteReport(BuildReportData(g), paper, path, unit);
}

QString WriteReport(const ReportData& data, Paper paper, const QString& path, LengthUnit unit) {
    if (data.cancelled) return QStringLiteral("cannot write %1: the report was cancelled").arg(path);
    PdfCanvas canvas(paper,
                     QStringLiteral("Vexlin design report: %1").arg(QString::fromStdString(data.design.designName)));
    const ReportInfo info{QDate::currentDate().toString(Qt::ISODate).toStdString(), VEXLIN_VERSION, unit};
    DrawDesignReport(data, canvas, info);
    const QByteArray bytes = canvas.Finish();
    if (bytes.isEmpty()) return QStringLiteral("cannot write %1: the PDF could not be made").arg(path);
    return WriteWholeFile(path, bytes);
}

} // namespace vx
