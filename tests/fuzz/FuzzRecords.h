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
    Board().SetData(format, block);
    try {
        list.PasteFromClipboard(format, position);
    } catch (const EReadError&) {
    }
    if (list.Count() > 0) {
        // A block we made ourselves must read; pasted at the same place twice it copies the
        // same. (A record's reset values may depend on its ID, so the first copy, from other
        // IDs, may differ.)
        list.CopyToClipboard(format, 0, list.Count());
        again.Clear();
        again.PasteFromClipboard(format, 0);
        again.CopyToClipboard(format, 0, again.Count());
        const std::string copied = *Board().GetData(format);
        again.Clear();
        again.PasteFromClipboard(format, 0);
        again.CopyToClipboard(format, 0, again.Count());
        if (*Board().GetData(format) != copied)
            std::abort();
    }
    Board().SetData(format, block);
    TItem record;
    try {
        record.PasteFromClipboard(format);
    } catch (const EReadError&) {
    }
}

}  // namespace fuzzrecords
