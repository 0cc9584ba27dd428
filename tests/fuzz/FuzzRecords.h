// The record clipboard check shared by the fuzz targets of the record formats: a block pasted
// into a list and into a single record; whatever pastes whole must copy again, and a block a copy made
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

// The element the list holds before the paste, so that pastes also land on an existing one.
inline constexpr int kHeldId = 2;

template <class TItem>
inline void Paste(const std::string& block, int position) {
    constexpr int format = TItem::kClipboardFormat;
    // Fresh lists each time: what an input allocates it also frees, so that libFuzzer does not
    // take every input for a leak and run it a second time under the leak checker.
    TCatalogOf<TItem> list;
    TCatalogOf<TItem> again;
    list.Obtain(kHeldId);
    Board().SetData(format, block);
    int pasted = 0;
    bool whole = false;
    try {
        pasted = list.PasteFromClipboard(format, position);
        whole = true;
    } catch (const EReadError&) {
    }
    // The copy check runs on blocks that pasted whole and pasted something. Most mutated blocks
    // stop at a damaged record after reading some: checking those as well made nearly every run
    // copy and paste twice more, while the records they read are the ones the same block without
    // its damaged tail pastes whole. Only whole blocks reach the copy code, so the fuzzer keeps
    // them for the coverage they add there.
    if (whole && pasted > 0) {
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
    // it was). A list paste that failed at a later record has still made the first record's
    // element, unless that element was there before.
    const bool firstRead =
        pasted > 0 || (position + 1 != kHeldId && list.FindByID(position + 1) != nullptr);
    if (firstRead)
        return;
    Board().SetData(format, block);
    TItem record;
    try {
        record.PasteFromClipboard(format);
    } catch (const EReadError&) {
    }
}

}  // namespace fuzzrecords
