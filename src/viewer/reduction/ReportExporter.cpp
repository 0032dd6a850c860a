#include "viewer/reduction/ReportExporter.h"

#include "analysis/ResultsJson.h"
#include "viewer/reduction/FitCurves.h"
#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/ProfilePlot.h"
#include "viewer/reduction/ReportText.h"
#include "viewer/reduction/ResultsText.h"
#include "viewer/reduction/RunPlot.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <qcustomplot.h>

namespace quorvane {

namespace {

constexpr int kMargin = 50;
const QColor kGrey(110, 110, 110);

// Writes lines of text down the page, wrapping them at the page's width.
class PageWriter {
public:
    PageWriter(QPainter& painter, int left, int width, int top)
        : m_painter(painter), m_left(left), m_width(width), m_y(top) {
        m_font.setFamily(QStringLiteral("DejaVu Sans"));
    }

    void font(int pixels, bool bold = false) {
        m_font.setPixelSize(pixels);
        m_font.setBold(bold);
        m_painter.setFont(m_font);
    }
    // The height `text` takes at the current font, wrapped at `width`.
    int height(const QString& text, int width) const {
        return m_painter.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text).height();
    }
    void line(const QString& text, int gap = 3) {
        const int h = height(text, m_width);
        m_painter.drawText(QRect(m_left, m_y, m_width, h), Qt::TextWordWrap | Qt::AlignLeft, text);
        m_y += h + gap;
    }
    void cell(const QString& text, int x, int width, Qt::Alignment align = Qt::AlignLeft) {
        m_painter.drawText(QRect(m_left + x, m_y, width, 1000), align | Qt::AlignTop, text);
    }
    int y() const { return m_y; }
    void skip(int pixels) { m_y += pixels; }

private:
    QPainter& m_painter;
    QFont m_font;
    int m_left;
    int m_width;
    int m_y;
};

// Draws a plot into a box of the page. `zoom` enlarges its fonts and lines against the
// screen's; `scale` is the pixels per page pixel of the picture.
void drawPlot(QPainter& painter, QCustomPlot& plot, const QRect& box, double zoom, double scale) {
    const int w = qRound(box.width() / zoom);
    const int h = qRound(box.height() / zoom);
    const QPixmap pixmap = plot.toPixmap(w, h, zoom * scale);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(box, pixmap, pixmap.rect());
    painter.setPen(QColor(205, 205, 205));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
}

} // namespace

ReportExporter::ReportExporter(Input input) : m_input(std::move(input)) {}

bool ReportExporter::writeJson(const QString& path, const QJsonObject& results,
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

QString ReportExporter::programVersion() {
#ifdef QUORVANE_VERSION_TEXT
    return QStringLiteral(QUORVANE_VERSION_TEXT);
#else
    return QStringLiteral("(version unknown)");
#endif
}

QString ReportExporter::sha256(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        error = file.errorString();
        return {};
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString ReportExporter::fileLine() const {
    const QString name = QFileInfo(m_input.dataFilePath).fileName();
    if (name.isEmpty()) {
        return QStringLiteral("Data file: none");
    }
    QString error;
    const QString hash = sha256(m_input.dataFilePath, error);
    return QStringLiteral("Data file: ") + name + QStringLiteral(" · SHA-256 ") +
           (hash.isEmpty() ? QStringLiteral("not known: ") + error : hash);
}

bool ReportExporter::writeReport(const QString& path, QString& error) const {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? writePdf(path, error)
                                                                      : writePng(path, error);
}

bool ReportExporter::writePdf(const QString& path, QString& error) const {
    if (m_input.stations.isEmpty()) {
        error = QStringLiteral("there is no reduced penetration to report");
        return false;
    }
    // QPdfWriter says nothing of a file it could not write: the PDF is made in a temporary
    // file beside it, looked at, and put in place whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    const QString line = fileLine();
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(150);
        pdf.setTitle(QStringLiteral("Heat-flow reduction"));
        pdf.setCreator(QStringLiteral("Quorvane Viewer ") + programVersion());
        QPainter painter;
        if (!painter.begin(&pdf)) {
            error = QStringLiteral("cannot write the PDF");
            file.cancelWriting();
            return false;
        }
        painter.scale(static_cast<double>(pdf.width()) / kPageWidth,
                      static_cast<double>(pdf.height()) / kPageHeight);
        for (int page = 0; page < pageCount(); ++page) {
            if (page > 0) {
                pdf.newPage();
            }
            paintPage(painter, page, line, 2.0);
        }
        painter.end();
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QStringList ReportExporter::pngPaths(const QString& path) const {
    QStringList out{path};
    const QFileInfo info(path);
    QString stem = path;
    QString suffix;
    if (!info.suffix().isEmpty()) {
        stem.chop(info.suffix().size() + 1);
        suffix = QLatin1Char('.') + info.suffix();
    }
    for (int page = 2; page <= pageCount(); ++page) {
        out << QStringLiteral("%1-%2%3").arg(stem).arg(page).arg(suffix);
    }
    return out;
}

bool ReportExporter::writePng(const QString& path, QString& error) const {
    if (m_input.stations.isEmpty()) {
        error = QStringLiteral("there is no reduced penetration to report");
        return false;
    }
    const QString line = fileLine();
    const QStringList paths = pngPaths(path);
    for (int page = 0; page < pageCount(); ++page) {
        QImage image(kPageWidth, kPageHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        // 150 dots per inch, as the PDF's page.
        image.setDotsPerMeterX(5906);
        image.setDotsPerMeterY(5906);
        {
            QPainter painter(&image);
            paintPage(painter, page, line, 1.0);
        }
        QSaveFile file(paths[page]);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            error = QStringLiteral("cannot write %1: %2").arg(paths[page], file.errorString());
            return false;
        }
    }
    return true;
}

void ReportExporter::paintPage(QPainter& painter, int page, const QString& fileLine,
                               double plotScale) const {
    const StationSnapshot& station = m_input.stations[page];
    const analysis::ReductionResults& r = station.results;
    const ReportText text(station, m_input.profileSource);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int width = kPageWidth - 2 * kMargin;
    PageWriter out(painter, kMargin, width, kMargin - 10);
    const QString pageOf = QStringLiteral("page %1 of %2").arg(page + 1).arg(pageCount());

    painter.setPen(Qt::black);
    out.font(13);
    out.cell(pageOf, 0, width, Qt::AlignRight);
    out.font(24, true);
    out.line(QStringLiteral("Heat-flow reduction: ") + text.title(), 4);
    out.font(13);
    painter.setPen(kGrey);
    out.line(QStringLiteral("Quorvane Viewer %1 · report made %2")
                 .arg(programVersion(), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)));
    painter.setPen(Qt::black);
    out.line(fileLine);
    out.line(text.description());
    out.line(text.probe());
    out.line(text.penetration());
    out.line(text.heater());
    for (const QString& window : text.windows()) {
        out.line(window);
    }
    out.line(text.calibration());
    out.line(text.exclusions());
    out.line(text.uncertainty(), 8);

    // The whole run, with this penetration's marks.
    if (station.run) {
        RunPlot run;
        run.show(*station.run, r, station.spanS);
        drawPlot(painter, run.customPlot(), QRect(kMargin, out.y(), width, 270), 1.25, plotScale);
        out.skip(278);
    }

    // The numbers per thermistor.
    const QList<int> columns = {0, 86, 140, 206, 370, 456, 510, 556, 624, 790, 910, 956, 1030};
    const QStringList heads = ReportText::sensorHeads();
    out.font(12, true);
    for (int c = 0; c < heads.size(); ++c) {
        out.cell(heads[c], columns[c],
                 (c + 1 < columns.size() ? columns[c + 1] : width) - columns[c]);
    }
    out.skip(18);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(kMargin, out.y(), kMargin + width, out.y());
    painter.setPen(Qt::black);
    out.skip(3);
    out.font(12);
    for (const QStringList& cells : text.sensorRows()) {
        for (int c = 0; c < cells.size(); ++c) {
            out.cell(cells[c], columns[c],
                     (c + 1 < columns.size() ? columns[c + 1] : width) - columns[c]);
        }
        out.skip(18);
    }
    out.skip(6);

    // The station's numbers, in two columns; the quality on a line of its own, with the
    // reason when it was capped (and then without bold).
    const QList<QPair<QString, QString>> rows = text.resultRows();
    const int half = width / 2;
    for (int i = 0; i < rows.size(); ++i) {
        const bool quality = rows[i].first == QStringLiteral("Quality");
        const int column = quality ? 0 : i % 2;
        const bool key = rows[i].first == QStringLiteral("Heat flow (interval)") ||
                         (quality && r.qualityCap.isEmpty());
        out.font(13, true);
        out.cell(rows[i].first, column * half, 170);
        out.font(13, key);
        out.cell(rows[i].second, column * half + 170, (quality ? width : half) - 175);
        if (quality || column == 1 || i + 1 == rows.size() ||
            rows[i + 1].first == QStringLiteral("Quality")) {
            out.skip(20);
        }
    }
    out.skip(4);

    // What is left of the page goes to the plots, after the flags' room.
    const QStringList flags = text.flags();
    out.font(12);
    int flagsHeight = 22;
    for (const QString& flag : flags) {
        flagsHeight += out.height(QStringLiteral("• ") + flag, width) + 2;
    }
    if (flags.isEmpty()) {
        flagsHeight += 18;
    }
    const int footer = 24;
    const int room = kPageHeight - kMargin - footer - flagsHeight - out.y();
    const int profileHeight = std::clamp(room * 2 / 5, 150, 250);
    const int fitHeight = std::clamp((room - profileHeight - 16) / 2, 110, 190);

    const int gap = 12;
    const int profileWidth = (width - gap) / 2;
    ProfilePlot depth(ProfilePlot::Kind::Depth);
    ProfilePlot bullard(ProfilePlot::Kind::Bullard);
    depth.show(r);
    bullard.show(r);
    drawPlot(painter, depth.customPlot(), QRect(kMargin, out.y(), profileWidth, profileHeight), 1.2,
             plotScale);
    drawPlot(painter, bullard.customPlot(),
             QRect(kMargin + profileWidth + gap, out.y(), profileWidth, profileHeight), 1.2,
             plotScale);
    out.skip(profileHeight + 8);

    // Every thermistor's two fits: the decay over the heater's rise with the fit that gave k.
    if (station.records) {
        const analysis::StationRecords& records = *station.records;
        const int fitWidth = (width - 4 * 8) / 5;
        for (std::size_t i = 0; i < r.sensors.size(); ++i) {
            const analysis::SensorResult& s = r.sensors[i];
            const int x = kMargin + static_cast<int>(i) * (fitWidth + 8);
            FitPlot decay(FitPlot::Kind::Decay);
            // F's ticks are long numbers (0.0025): two fit in a fifth of the page
            decay.customPlot().xAxis->ticker()->setTickCount(2);
            decay.show(
                FitCurves::decay(records, r, i),
                QStringLiteral("%1: T_eq %2 °C").arg(s.name, ResultsText::number(s.tEqC, 4)));
            drawPlot(painter, decay.customPlot(), QRect(x, out.y(), fitWidth, fitHeight), 1.15,
                     plotScale);
            FitPlot heating(FitPlot::Kind::Heating);
            heating.show(FitCurves::heating(records, r, i),
                         QStringLiteral("%1: k %2 %3")
                             .arg(s.name, ResultsText::number(s.kWPerMK, 3),
                                  s.kMethod.isEmpty()
                                      ? QString()
                                      : QStringLiteral("(") + s.kMethod + QLatin1Char(')')));
            drawPlot(painter, heating.customPlot(),
                     QRect(x, out.y() + fitHeight + 6, fitWidth, fitHeight), 1.15, plotScale);
        }
        out.skip(2 * fitHeight + 14);
    }

    out.font(13, true);
    out.line(QStringLiteral("Flags"), 2);
    out.font(12);
    for (const QString& flag : flags) {
        out.line(QStringLiteral("• ") + flag, 2);
    }
    if (flags.isEmpty()) {
        out.line(QStringLiteral("No flags."));
    }

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(kGrey);
    painter.drawText(QRect(kMargin, kPageHeight - kMargin + 10, width, 20), Qt::AlignLeft,
                     QFileInfo(m_input.dataFilePath).fileName() + QStringLiteral(" · ") +
                         text.title());
    painter.drawText(QRect(kMargin, kPageHeight - kMargin + 10, width, 20), Qt::AlignRight, pageOf);
}

} // namespace quorvane
