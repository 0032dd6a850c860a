#include "viewer/reduction/ReportExporter.h"

#include "analysis/ResultsJson.h"
#include "viewer/reduction/ResultsText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <qcustomplot.h>

namespace quorvane {

ReportExporter::ReportExporter(const analysis::ReductionResults& results, QString profileText,
                               Plots plots, int sensor)
    : m_results(results), m_profileText(std::move(profileText)), m_plots(plots), m_sensor(sensor) {}

bool ReportExporter::writeJson(const QString& path, const analysis::ReductionResults& results,
                               QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    file.write(analysis::ResultsJson::toJson(results));
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool ReportExporter::writeReport(const QString& path, QString& error) const {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? writePdf(path, error)
                                                                      : writePng(path, error);
}

bool ReportExporter::writePdf(const QString& path, QString& error) const {
    {
        // QPdfWriter says nothing of a file it could not open: look first.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            error = probe.errorString();
            return false;
        }
    }
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(150);
    pdf.setTitle(QStringLiteral("Heat-flow reduction"));
    pdf.setCreator(QStringLiteral("Quorvane Viewer"));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        error = QStringLiteral("cannot write the PDF");
        return false;
    }
    const QRect device(0, 0, pdf.width(), pdf.height());
    painter.scale(static_cast<double>(device.width()) / kPageWidth,
                  static_cast<double>(device.height()) / kPageHeight);
    paint(painter, QRect(0, 0, kPageWidth, kPageHeight));
    painter.end();
    return true;
}

bool ReportExporter::writePng(const QString& path, QString& error) const {
    QImage image(kPageWidth, kPageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter, image.rect());
    }
    if (!image.save(path, "PNG")) {
        error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QList<QPair<QString, QString>> ReportExporter::stationRows() const {
    const analysis::ReductionResults& r = m_results;
    return {
        {QStringLiteral("Penetration"), ResultsText::penetration(r)},
        {QStringLiteral("Heater"), ResultsText::heater(r)},
        {QStringLiteral("Gradient"), ResultsText::gradient(r)},
        {QStringLiteral("Heat flow"), ResultsText::heatFlow(r)},
        {QStringLiteral("Heat flow (Bullard)"), ResultsText::heatFlowBullard(r)},
        {QStringLiteral("Quality"), ResultsText::quality(r)},
    };
}

QList<QStringList> ReportExporter::sensorRows() const {
    QList<QStringList> rows;
    for (const analysis::SensorResult& s : m_results.sensors) {
        rows << QStringList{
            s.name,
            ResultsText::number(s.depthM, 2),
            ResultsText::withError(s.tEqC, s.tEqErrC, 4),
            ResultsText::withError(s.kWPerMK, s.kErrWPerMK, 3),
            s.kMethod.isEmpty() ? QString::fromUtf8(ResultsText::kDash) : s.kMethod,
            QString::number(s.recordsDecay),
            ResultsText::number(
                s.fitRmsC ? std::optional<double>(*s.fitRmsC * 1000.0) : std::nullopt, 2)};
    }
    return rows;
}

void ReportExporter::paint(QPainter& painter, const QRect& page) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int margin = 60;
    const int width = page.width() - 2 * margin;
    int y = margin;
    QFont font(QStringLiteral("DejaVu Sans"));
    const auto cell = [&](int pixels, bool bold, const QString& line, int x, int w) {
        font.setPixelSize(pixels);
        font.setBold(bold);
        painter.setFont(font);
        const QRect box(x, y, w, pixels * 2);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    };
    const auto text = [&](int pixels, bool bold, const QString& line) {
        cell(pixels, bold, line, margin, width);
    };
    painter.setPen(Qt::black);
    text(28, true, QStringLiteral("Heat-flow reduction"));
    y += 60;
    const QString file = QFileInfo(m_results.file).fileName();
    text(15, false,
         QStringLiteral("File %1 · %2 records · %3 bad lines · interval %4 s")
             .arg(file.isEmpty() ? QString::fromUtf8(ResultsText::kDash) : file)
             .arg(m_results.records)
             .arg(m_results.badLines)
             .arg(ResultsText::number(m_results.logIntervalS, 0)));
    y += 28;
    text(15, false, m_profileText);
    y += 40;

    const auto drawPlot = [&](QCustomPlot* plot, const QRect& box) {
        if (!plot) {
            return;
        }
        const QPixmap pixmap = plot->toPixmap(box.width(), box.height(), 1.0);
        painter.drawPixmap(box, pixmap);
        painter.setPen(QColor(200, 200, 200));
        painter.drawRect(box);
        painter.setPen(Qt::black);
    };
    drawPlot(m_plots.temperatures, QRect(margin, y, width, 440));
    y += 455;
    text(15, true,
         QStringLiteral("Fits of %1")
             .arg(m_results.sensors[static_cast<std::size_t>(std::clamp(m_sensor, 0, 4))].name));
    y += 32;
    const int half = (width - 20) / 2;
    drawPlot(m_plots.decay, QRect(margin, y, half, 300));
    drawPlot(m_plots.heating, QRect(margin + half + 20, y, half, 300));
    y += 320;

    const analysis::ReductionResults& r = m_results;
    for (const auto& [name, value] : stationRows()) {
        cell(17, true, name, margin, 220);
        cell(17, name == QStringLiteral("Heat flow") || name == QStringLiteral("Quality"), value,
             margin + 220, width - 220);
        y += 30;
    }
    y += 14;
    const QList<int> columns = {0, 130, 220, 450, 660, 760, 840};
    const QStringList heads = {QStringLiteral("Thermistor"), QStringLiteral("z m"),
                               QStringLiteral("T_eq °C"),    QStringLiteral("k W/(m K)"),
                               QStringLiteral("k from"),     QStringLiteral("n"),
                               QStringLiteral("RMS mK")};
    for (int c = 0; c < heads.size(); ++c) {
        cell(15, true, heads[c], margin + columns[c], 220);
    }
    y += 28;
    painter.drawLine(margin, y, margin + width, y);
    y += 4;
    for (const QStringList& cells : sensorRows()) {
        for (int c = 0; c < cells.size(); ++c) {
            cell(15, false, cells[c], margin + columns[c], 220);
        }
        y += 26;
    }
    y += 16;
    const QStringList reasons = ResultsText::reasons(r);
    text(15, true, QStringLiteral("Notes"));
    y += 28;
    for (const QString& reason : reasons) {
        if (y > page.height() - margin - 30) {
            text(13, false, QStringLiteral("… and %1 more").arg(reasons.size()));
            break;
        }
        text(13, false, QStringLiteral("• ") + reason);
        y += 22;
    }
    if (reasons.isEmpty()) {
        text(13, false, QStringLiteral("No flags."));
    }
    font.setPixelSize(11);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(120, 120, 120));
    painter.drawText(QRect(margin, page.height() - margin, width, 20), Qt::AlignRight,
                     QStringLiteral("Quorvane Viewer · ") +
                         QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
}

} // namespace quorvane
