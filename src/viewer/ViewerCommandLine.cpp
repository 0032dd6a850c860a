#include "viewer/ViewerCommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace quorvane {

QString ViewerCommandLine::helpText() {
    return QStringLiteral(
        "Usage: quorvane-view [FILE] [options]\n"
        "\n"
        "Plots the five temperatures (TTop, T2, T3, T4, TBot) of a Quorvane data log file\n"
        "against UTC time, with the heater-on intervals shaded, and follows the file as\n"
        "the program writes it.\n"
        "\n"
        "Without FILE the viewer follows the program: it watches the program's event log\n"
        "(QuorvaneEvents.log beside this program, or --events PATH) and at each new\n"
        "\"START RUN.\" shows the data log file of that run.\n"
        "\n"
        "Options:\n"
        "  --events PATH         the program's event log to follow\n"
        "  --export-png OUT.png  write a picture of the plot and end (no window)\n"
        "  --export-svg OUT.svg  the same as SVG\n"
        "  --export-csv OUT.csv  write the records as CSV and end: time_utc, seconds since\n"
        "                        the first record, t_ttop..t_tbot (degrees C), heater\n"
        "  --size WxH            size of the exported picture (default 1200x700)\n"
        "  --probe PROFILE       the probe profile (JSON) for the reduction, instead of\n"
        "                        ~/.config/Quorvane/probes/<serial>.json\n"
        "  --analyze FILE [--probe PROFILE] [--stations | --station N]\n"
        "        [--penetration ISO-UTC] [--decay-window A,B] [--heating-window A,B]\n"
        "        [--pulse-window A,B] [--calibrate-bottom-water]\n"
        "        [--conductivity K[,K,K,K,K]] [--ignore-station-file]\n"
        "        [--add-to-table CRUISE.csv]\n"
        "                        reduce FILE and print the results as JSON (no window):\n"
        "                        equilibrium temperatures, conductivities, gradient, heat\n"
        "                        flow; windows in seconds from the penetration, from the\n"
        "                        heater's switch-on and from the pulse's middle.\n"
        "                        --stations prints every penetration of the file as an\n"
        "                        array, --station N the N-th (from 1) as one object;\n"
        "                        without either, the last one. --calibrate-bottom-water\n"
        "                        takes each thermistor's offset in the bottom water off;\n"
        "                        --conductivity gives k in W/(m K) (one for all five, or\n"
        "                        five). FILE.station.json (the choices saved in the\n"
        "                        window) is read unless --ignore-station-file; options\n"
        "                        given here go over it. --add-to-table adds the rows of\n"
        "                        the penetrations printed to a cruise table.\n"
        "                        Exit status 0; 1 when some lines were bad; 2 when FILE\n"
        "                        cannot be read, is no data log file or holds no records,\n"
        "                        the profile or the station file cannot be used, the\n"
        "                        cruise table refuses the rows, or the options are wrong\n"
        "  --export-ghfdb CRUISE.csv OUT.csv\n"
        "                        write every row of the cruise table as a CSV for the IHFC\n"
        "                        Global Heat Flow Database (no window). Exit status 0; 1\n"
        "                        when some cells that should hold numbers did not (named\n"
        "                        on standard error, left empty); 2 when the table cannot\n"
        "                        be read or holds no rows, OUT.csv cannot be written or is\n"
        "                        a cruise table, or the arguments are wrong\n"
        "  -h, --help            this text\n"
        "\n"
        "In the window: the wheel zooms the time axis, a drag pans, Shift + drag or a\n"
        "right-button drag zooms into a rectangle; any zoom or pan stops following the\n"
        "newest data, View > Follow (F) takes it up again. A click picks a point; the\n"
        "read-out shows the values at the cursor and the difference of two picked points.\n"
        "From the keyboard (Tab to the plot): Left and Right pan, + and - zoom, Home shows\n"
        "the whole run, F follows; Shift + Left or Right moves the cursor from record to\n"
        "record, Enter picks.\n"
        "\n"
        "Exports: exit status 0 when every line was read, 1 when some lines were bad\n"
        "(listed on standard error), 2 when the file cannot be read or is no data log file\n"
        "(none of its lines is a record or a header line; an empty file is none).\n");
}

ViewerCommandLine::Batch ViewerCommandLine::batchCommand(const QStringList& arguments) {
    // Each of these takes the whole command line for itself.
    if (arguments.contains(QStringLiteral("--analyze"))) {
        return Batch::Analyze;
    }
    if (arguments.contains(QStringLiteral("--export-ghfdb"))) {
        return Batch::ExportGhfdb;
    }
    return Batch::None;
}

std::optional<ViewerOptions> ViewerCommandLine::parse(const QStringList& arguments,
                                                      QString& error) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption events(QStringLiteral("events"), {}, QStringLiteral("PATH"));
    const QCommandLineOption png(QStringLiteral("export-png"), {}, QStringLiteral("OUT"));
    const QCommandLineOption svg(QStringLiteral("export-svg"), {}, QStringLiteral("OUT"));
    const QCommandLineOption csv(QStringLiteral("export-csv"), {}, QStringLiteral("OUT"));
    const QCommandLineOption size(QStringLiteral("size"), {}, QStringLiteral("WxH"));
    const QCommandLineOption probe(QStringLiteral("probe"), {}, QStringLiteral("PROFILE"));
    parser.addOptions({help, events, png, svg, csv, size, probe});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    ViewerOptions options;
    options.help = parser.isSet(help);
    options.eventsPath = parser.value(events);
    options.exportPng = parser.value(png);
    options.exportSvg = parser.value(svg);
    options.exportCsv = parser.value(csv);
    options.probe = parser.value(probe);
    if (parser.isSet(size)) {
        static const QRegularExpression kSize(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
        const QRegularExpressionMatch match = kSize.match(parser.value(size));
        const int w = match.hasMatch() ? match.captured(1).toInt() : 0;
        const int h = match.hasMatch() ? match.captured(2).toInt() : 0;
        if (w < 100 || h < 100 || w > 10000 || h > 10000) {
            error = QStringLiteral("--size wants WIDTHxHEIGHT in pixels, 100 to 10000 each, "
                                   "such as 1200x700, not \"%1\"")
                        .arg(parser.value(size));
            return std::nullopt;
        }
        options.size = QSize(w, h);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        error = QStringLiteral("one FILE at most, not %1").arg(files.size());
        return std::nullopt;
    }
    options.file = files.value(0);
    if (options.batch() && options.file.isEmpty() && !options.help) {
        error = QStringLiteral("an export needs the FILE to read");
        return std::nullopt;
    }
    return options;
}

} // namespace quorvane
