#include "export/report_file.h"

#include <QByteArray>
#include <QDate>

#include "platform/qt/qt_pdf_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "scene/report/design_report.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx {

QString WriteReport(const GearState& g, Paper paper, const QString& path) {
    PdfCanvas canvas(paper, QStringLiteral("Vexlin design report: %1").arg(QString::fromStdString(g.designName)));
    const ReportInfo info{QDate::currentDate().toString(Qt::ISODate).toStdString(), VEXLIN_VERSION};
    DrawDesignReport(g, canvas, info);
    const QByteArray bytes = canvas.Finish();
    if (bytes.isEmpty()) return QStringLiteral("cannot write %1: the PDF could not be made").arg(path);
    return WriteWholeFile(path, bytes);
}

} // namespace vx
