#include "viewer/BatchExport.h"

#include "datafile/DataFileTail.h"
#include "viewer/CsvExport.h"
#include "viewer/RunSeries.h"
#include "viewer/TemperaturePlot.h"

#include <ostream>

namespace quorvane {

namespace {

constexpr std::size_t kListedBadLines = 20;

} // namespace

int BatchExport::run(const ViewerOptions& options, std::ostream& errors) {
    const std::string path = options.file.toStdString();
    DataFileTail tail(path);
    RunSeries series;
    std::size_t listed = 0;
    for (;;) {
        const DataFileTail::Step step = tail.poll();
        if (step.kind == DataFileTail::Kind::Missing || step.kind == DataFileTail::Kind::Failed) {
            errors << "quorvane-view: cannot read " << path << ": " << step.message << '\n';
            return kUnreadable;
        }
        if (!step.more) {
            tail.parser().finish();
        }
        series.append(tail.parser().takeRecords(), tail.parser().headers());
        for (const BadLine& bad : tail.parser().takeBadLines()) {
            if (listed++ < kListedBadLines) {
                errors << path << ": line " << bad.lineNumber << ": " << bad.reason << '\n';
            }
        }
        if (!step.more) {
            break;
        }
    }
    const DataFileParser& parser = tail.parser();
    if (!parser.isDataLogFile()) {
        errors << "quorvane-view: " << path << " is not a data log file ("
               << (parser.lineCount() == 0 ? std::string("it is empty")
                                           : "no header line and no record in " +
                                                 std::to_string(parser.lineCount()) + " lines")
               << ")\n";
        return kUnreadable;
    }
    if (parser.recordCount() == 0) {
        errors << "quorvane-view: " << path << " holds no data records"
               << (parser.headers().empty() ? "" : " (a header without data)")
               << "; the plot is empty\n";
    }
    if (listed > kListedBadLines) {
        errors << path << ": " << parser.badLineCount() << " bad lines in all, the first "
               << kListedBadLines << " listed\n";
    }

    int status = parser.badLineCount() > 0 ? kBadLines : kOk;
    if (!options.exportCsv.isEmpty()) {
        QString error;
        if (!CsvExport::write(series, -1e300, 1e300, options.exportCsv, &error)) {
            errors << "quorvane-view: cannot write " << options.exportCsv.toStdString() << ": "
                   << error.toStdString() << '\n';
            status = kUnreadable;
        }
    }
    if (!options.exportPng.isEmpty() || !options.exportSvg.isEmpty()) {
        TemperaturePlot plot(series);
        plot.resize(options.size);
        plot.dataChanged();
        const int w = options.size.width();
        const int h = options.size.height();
        if (!options.exportPng.isEmpty() && !plot.savePng(options.exportPng, w, h)) {
            errors << "quorvane-view: cannot write " << options.exportPng.toStdString() << '\n';
            status = kUnreadable;
        }
        if (!options.exportSvg.isEmpty() && !plot.saveSvg(options.exportSvg, w, h)) {
            errors << "quorvane-view: cannot write " << options.exportSvg.toStdString() << '\n';
            status = kUnreadable;
        }
    }
    return status;
}

} // namespace quorvane
