#pragma once

#include "analysis/PenetrationSplitter.h"
#include "analysis/ReductionResults.h"
#include "station/PenetrationKey.h"

#include <map>

namespace quorvane {

// The results of penetrations reduced once, kept while their records and choices stay as they
// were: a penetration that is over does not change while the file grows.
class PenetrationResults {
public:
    using Span = analysis::PenetrationSplitter::Span;

    // Nullptr when the penetration was not reduced with these records.
    const analysis::ReductionResults* find(const station::PenetrationKey& key,
                                           const Span& span) const;
    void put(const station::PenetrationKey& key, const Span& span,
             analysis::ReductionResults results);
    // Its choices changed.
    void forget(const station::PenetrationKey& key) { m_entries.erase(key); }
    void clear() { m_entries.clear(); }

private:
    struct Entry {
        Span span;
        analysis::ReductionResults results;
    };
    std::map<station::PenetrationKey, Entry> m_entries;
};

} // namespace quorvane
