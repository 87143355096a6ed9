// Bulk reading of curve points: a run of records whose x and y fields both
// have the common number layout is parsed straight out of the reader's
// buffer, a long run split across threads. Everything else (the end of a
// curve, a field needing the general reader or an error message, the last
// line of a file without its line end) is left to the record reader.
#pragma once

#include "core/io.h"
#include "core/routine_state.h"
#include "core/store.h"
#include "core/workers.h"

namespace veskaro {

// Takes the plain records next in `file` into XC and YC from index N on,
// at most `room` of them, and passes over them in the file. Returns how
// many were taken (0 when the next record is not plain).
int read_plain_points(Store& s, RecordReader& file, BulkReader& bulk,
                      WorkerPool& workers, int N, int room);

}  // namespace veskaro
