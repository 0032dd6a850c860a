#include "viewer/reduction/PenetrationResults.h"

namespace quorvane {

namespace {

bool same(const PenetrationResults::Span& a, const PenetrationResults::Span& b) {
    return a.begin == b.begin && a.end == b.end && a.jump == b.jump && a.pulledOut == b.pulledOut;
}

} // namespace

const analysis::ReductionResults* PenetrationResults::find(const station::PenetrationKey& key,
                                                           const Span& span) const {
    const auto it = m_entries.find(key);
    return it != m_entries.end() && same(it->second.span, span) ? &it->second.results : nullptr;
}

void PenetrationResults::put(const station::PenetrationKey& key, const Span& span,
                             analysis::ReductionResults results) {
    m_entries[key] = Entry{span, std::move(results)};
}

} // namespace quorvane
