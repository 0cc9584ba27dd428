// The record clipboard check shared by the fuzz targets of the record formats: a block pasted
// into a list and into a single record; whatever pastes must copy again, and a block a copy made
// must paste back to records that copy the same.
#pragma once

#include "data/Catalog.h"
#include "platform/Clipboard.h"

#include <cstdlib>
#include <string>

namespace fuzzrecords {

using namespace quillon;

inline TMemoryClipboard& Board() {
    static TMemoryClipboard board;
    static const bool installed = (SetClipboard(&board), true);
    (void)installed;
    return board;
}

template <class TItem>
inline void Paste(const std::string& block, int position) {
    constexpr int format = TItem::kClipboardFormat;
    // Fresh lists each time: what an input allocates it also frees, so that libFuzzer does not
    // take every input for a leak and run it a second time under the leak checker.
    TCatalogOf<TItem> list;
    TCatalogOf<TItem> again;
    list.Obtain(2);
    const int held = list.Count();
    Board().SetData(format, block);
    int pasted = 0;
    try {
        pasted = list.PasteFromClipboard(format, position);
    } catch (const EReadError&) {
    }
    // Only a block that pasted something has records to copy: the default record copies and
    // pastes back the same for every input, and would only slow each run.
    if (pasted > 0 || list.Count() > held) {
        // A block we made ourselves must read, and a copy of what it pasted must paste back to
        // records that copy the same. The first copy may still change once: a record's reset
        // values may depend on its ID (the list's IDs differ from the fresh list's), and a first
        // save may drop what a record could not hold. From the second copy on it is stable.
        list.CopyToClipboard(format, 0, list.Count());
        const std::string first = *Board().GetData(format);
        again.PasteFromClipboard(format, 0);
        again.CopyToClipboard(format, 0, again.Count());
        const std::string second = *Board().GetData(format);
        if (second != first) {
            again.Clear();
            again.PasteFromClipboard(format, 0);
            again.CopyToClipboard(format, 0, again.Count());
            if (*Board().GetData(format) != second)
                std::abort();
        }
    }
    // The single-record paste reads the block's first record as the list paste did; it only
    // adds something when that record did not read (its damaged load must leave the record as
    // it was).
    if (pasted > 0)
        return;
    Board().SetData(format, block);
    TItem record;
    try {
        record.PasteFromClipboard(format);
    } catch (const EReadError&) {
    }
}

}  // namespace fuzzrecords
