#pragma once

#include "import/SongScan.h"
#include "store/FileSetChange.h"
#include "store/PerformerRepository.h"
#include "tests/helpers/TempCatalogue.h"

// The scanner's file work as one change, committed: a failure undoes it and throws.
inline ScanOutcome ScanInto(const TempCatalogue& cat, QByteArrayView performer,
                            const QString& folder) {
    FileSetChange change;
    const ScanOutcome outcome =
        ScanSongsIntoPerformer(change, PerformerRepository(cat.startDir()), performer, folder);
    change.commit();
    return outcome;
}
