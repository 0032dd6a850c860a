#include "datafile/DataFileReader.h"

#include "datafile/DataFileParser.h"
#include "datafile/DataFileTail.h"

namespace quorvane {

namespace {

DataFileContent contentOf(DataFileParser& parser) {
    parser.finish();
    DataFileContent content;
    content.headers = parser.headers();
    content.records = parser.takeRecords();
    content.badLines = parser.takeBadLines();
    content.badLineCount = parser.badLineCount();
    content.lineCount = parser.lineCount();
    content.headerLineCount = parser.headerLineCount();
    return content;
}

} // namespace

std::optional<DataFileContent> DataFileReader::readFile(const std::string& path,
                                                        std::string* error) {
    DataFileTail tail(path);
    for (;;) {
        const DataFileTail::Step step = tail.poll();
        if (step.kind == DataFileTail::Kind::Missing || step.kind == DataFileTail::Kind::Failed) {
            if (error) {
                *error = step.message;
            }
            return std::nullopt;
        }
        if (!step.more) {
            break;
        }
    }
    return contentOf(tail.parser());
}

DataFileContent DataFileReader::readText(std::string_view text) {
    DataFileParser parser;
    parser.feed(text);
    return contentOf(parser);
}

} // namespace quorvane
