#include "instrument/RecordDecoder.h"

#include "instrument/Thermistor.h"
#include "platform/Failure.h"
#include "util/ErrorText.h"
#include "util/NumericText.h"
#include "util/Tokenizer.h"

#include <cmath>

namespace quorvane {

namespace {

std::int32_t roundToWholeOhms(double r) {
    // Halves go to the even neighbour.
    const double rounded = roundHalfEven(r);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw Failure(errors::kOverflow, "Overflow");
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace

void RecordDecoder::decode(const std::string& payload) {
    nextToken(payload, " ");
    for (int i = 0; i < 8; ++i) {
        std::optional<std::string> field = nextToken(std::nullopt, " ");
        if (!field) {
            throw Failure(errors::kInvalidUseOfNull, "Invalid use of Null");
        }
        hexFields[static_cast<std::size_t>(i)] = std::move(*field);
    }
    for (std::size_t i = 0; i < 5; ++i) {
        const std::optional<double> r =
            rawhex2resistance(hexFields[2], hexFields[1], hexFields[i + 3]);
        if (!r) {
            throw Failure(errors::kInvalidUseOfNull, "Invalid use of Null");
        }
        resistanceOhms[i] = roundToWholeOhms(*r);
        temperatureC[i] = r2t(resistanceOhms[i]);
    }
}

bool RecordDecoder::processQuorvaneRecord(const std::string& payload) {
    try {
        decode(payload);
        return false;
    } catch (const std::exception& error) {
        m_dialogs.showMessage(
            "processQuorvaneRecord: Error decoding to Quorvane data.\r\nInput   :" + payload +
                "\r\n" + errorLine(error),
            "Quorvane");
        return true;
    }
}

} // namespace quorvane
