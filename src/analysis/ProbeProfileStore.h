#pragma once

#include "analysis/ProbeProfile.h"

#include <QString>

namespace quorvane::analysis {

// Probe profiles kept one per instrument serial as <folder>/probes/<serial>.json.
class ProbeProfileStore {
public:
    explicit ProbeProfileStore(QString folder) : m_folder(std::move(folder)) {}

    QString pathFor(const QString& serial) const;

    // A serial names a file in the probes folder: a plain file name of letters, digits, '-'
    // and '_' (no path, no dots), 64 characters at most.
    static bool isPlainSerial(const QString& serial);

    // The instrument's profile. Without a usable one, the default profile, and in `note`
    // why (no file, or what is wrong with it).
    ProbeProfile profileFor(const QString& serial, QString& note) const;
    // Writes the profile under its serial; false with the reason when it cannot.
    bool save(const ProbeProfile& profile, QString& error) const;

    // Reads one profile file; nullopt with the reason when it cannot be used.
    static std::optional<ProbeProfile> readFile(const QString& path, QString& error);

private:
    QString m_folder;
};

} // namespace quorvane::analysis
