#include "data/LD_Animation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace quillon {

// --- cues ---

void TKelAnimationTimingItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetIntField(d, &Frame, 0, "Frame"); break;
    case 2: SetRecordField(d, &Sound, "Sound"); break;
    case 3: SetBufferField(d, &FlashRange, 1, "FlashRange"); break;
    case 4: SetIntField(d, &FlashRed, 31, "FlashRed"); break;
    case 5: SetIntField(d, &FlashGreen, 31, "FlashGreen"); break;
    case 6: SetIntField(d, &FlashBlue, 31, "FlashBlue"); break;
    case 7: SetIntField(d, &FlashPower, 31, "FlashPower"); break;
    case 8: SetIntField(d, &SortKey, 0, "SortKey"); break;
    default: break;
    }
}

void TKelAnimationTimingItem::Reset() {
    Frame = 0;
    Sound.Reset();
    FlashRange = frNone;
    FlashRed = FlashGreen = FlashBlue = FlashPower = 31;
    SortKey = 0;
}

namespace {

// The silent sound sorts as this single byte, after every real name.
constexpr std::string_view kSilentSortName = "\xFF";

std::string_view SoundSortName(const TKelSound& sound) {
    return sound.Name == kSoundOff ? kSilentSortName : std::string_view(sound.Name);
}

// Plain unsigned byte comparison; a prefix sorts first.
int CompareBytes(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (common != 0) {
        if (const int c = std::memcmp(a.data(), b.data(), common); c != 0)
            return c;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool TimingOrderLess(const TKelAnimationTimingItem& a, const TKelAnimationTimingItem& b) {
    if (a.Frame != b.Frame)
        return a.Frame < b.Frame;
    if (const int c = CompareBytes(SoundSortName(a.Sound), SoundSortName(b.Sound)); c != 0)
        return c < 0;
    return a.SortKey < b.SortKey;
}

void TKelAnimationTiming::SortByTiming() {
    SortAndRenumber([](const TCatalogItem& a, const TCatalogItem& b) {
        return TimingOrderLess(static_cast<const TKelAnimationTimingItem&>(a),
                               static_cast<const TKelAnimationTimingItem&>(b));
    });
}

// --- cells and frames ---

void TKelAnimationCellItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    switch (fieldNumber) {
    case 1: SetByteField(d, &Visible, 1, "Visible"); break;
    case 2: SetIntField(d, &Pattern, 0, "Pattern"); break;
    case 3: SetIntField(d, &X, 0, "X"); break;
    case 4: SetIntField(d, &Y, 0, "Y"); break;
    case 5: SetIntField(d, &Magnification, 100, "Magnification"); break;
    case 6: SetIntField(d, &Red, 100, "Red"); break;
    case 7: SetIntField(d, &Green, 100, "Green"); break;
    case 8: SetIntField(d, &Blue, 100, "Blue"); break;
    case 9: SetIntField(d, &Chroma, 100, "Chroma"); break;
    case 10: SetIntField(d, &Transparency, 0, "Transparency"); break;
    default: break;
    }
}

void TKelAnimationCellItem::Reset() {
    Visible = 1;
    Pattern = 0;
    X = 0;
    Y = 0;
    Magnification = 100;
    Red = Green = Blue = Chroma = 100;
    Transparency = 0;
}

void TKelAnimationPatternItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    if (fieldNumber == 1)
        SetListField(d, &Cells, "Cells");
}

void TKelAnimationPatternItem::Reset() {
    Cells.Clear();
}

// --- animation ---

void TKelAnimationItem::DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) {
    switch (fieldNumber) {
    case 1: SetStringField(d, &Name, true, "Name"); break;
    case 2: SetStringField(d, &FileName, true, "FileName"); break;
    case 6: SetListField(d, &Timing, "Timing"); break;
    case 9: SetBufferField(d, &Scope, 1, "Scope"); break;
    case 10: SetBufferField(d, &YLine, 1, "YLine"); break;
    case 12:
        SetListField(d, &Frames, "Frames");
        if (loading)
            mFramesLoaded = true;
        break;
    default: break;
    }
}

void TKelAnimationItem::Reset() {
    Name.clear();
    FileName.clear();
    Timing.Clear();
    Scope = asSingle;
    YLine = ylFeet;
    Frames.Clear();
    if (!mLoading)
        for (std::int32_t id = 1; id <= kInitialFrames; ++id)
            Frames.Obtain(id);
    Dirty = true;
    mImage.Clear();
}

namespace {

// Whether the next bytes of the stream are exactly `image`. Consumes what it compared.
bool NextBytesEqual(TStream& stream, const std::string& image) {
    if (image.empty() || stream.Remaining() < static_cast<std::int64_t>(image.size()))
        return false;
    std::array<char, 4096> buffer;
    for (std::size_t done = 0; done < image.size();) {
        const std::size_t n = std::min(buffer.size(), image.size() - done);
        stream.ReadBuffer(buffer.data(), n);
        if (std::memcmp(buffer.data(), image.data() + done, n) != 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

void TKelAnimationItem::LoadFromStream(TStream& stream) {
    const std::int64_t start = stream.Position();
    // A clean record already holds what its image says; when the input repeats the image there
    // is nothing to parse. Anything else (a different file, or bytes that merely happen to be at
    // the place of an unchanged one) is parsed.
    if (!Dirty && NextBytesEqual(stream, mImage.Bytes()))
        return;
    stream.SetPosition(start);
    {
        // Also when the load fails part-way: what it did not read stays as a reset left it.
        struct TLoadScope {
            TKelAnimationItem& Item;
            explicit TLoadScope(TKelAnimationItem& item) : Item(item) {
                Item.mLoading = true;
                Item.mFramesLoaded = false;
            }
            ~TLoadScope() {
                Item.mLoading = false;
                if (!Item.mFramesLoaded)
                    for (std::int32_t id = 1; id <= kInitialFrames; ++id)
                        Item.Frames.Obtain(id);
            }
        } scope(*this);
        TCatalogBaseItem::LoadFromStream(stream);  // resets first, which marks the record dirty
    }
    const std::int64_t end = stream.Position();
    std::string bytes(static_cast<std::size_t>(end - start), '\0');
    stream.SetPosition(start);
    stream.ReadBuffer(bytes.data(), bytes.size());
    mImage.Clear();
    mImage.WriteBuffer(bytes.data(), bytes.size());
    Dirty = false;
}

void TKelAnimationItem::SaveToStream(TStream& stream) {
    if (Dirty) {
        mImage.Clear();
        TCatalogBaseItem::SaveToStream(mImage);
        Dirty = false;
    }
    stream.WriteBuffer(mImage.Bytes().data(), mImage.Bytes().size());
}

void TKelAnimationItem::SetFrameCount(int count) {
    count = std::max(count, 0);
    while (Frames.Count() > 0 && Frames.Items(Frames.Count() - 1)->ID > count)
        Frames.Delete(Frames.Items(Frames.Count() - 1)->ID);
    // IDs below 1 only come from damaged files; they are not frames the editor can reach.
    while (Frames.Count() > 0 && Frames.Items(0)->ID < 1)
        Frames.Delete(Frames.Items(0)->ID);
    for (std::int32_t id = 1; id <= count; ++id)
        Frames.Obtain(id);
    Dirty = true;
}

// --- list ---

void TKelAnimation::LoadItem(int index, TStream& stream) {
    TKelAnimationItem* item = Items(index);
    if (!item)
        return;
    item->Dirty = true;
    item->LoadFromStream(stream);
    item->Dirty = true;
}

void TKelAnimation::SaveItem(int index, TStream& stream) {
    TKelAnimationItem* item = Items(index);
    if (!item)
        return;
    item->Dirty = true;
    item->SaveToStream(stream);
    item->Dirty = true;
}

void TKelAnimation::LoadFromStream(TStream& stream) {
    try {
        const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
        // Every element takes at least two bytes (its ID and its record's terminator).
        stream.RequireRemaining(count);
        // Drop elements from the end until no more remain than the stream holds; the others
        // are kept so that those whose bytes did not change need not be parsed again.
        while (static_cast<std::uint32_t>(Count()) > count)
            mItems.pop_back();
        std::vector<std::int32_t> loaded;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::int32_t id = ReadVarInt(stream);
            loaded.push_back(id);
            auto at = std::lower_bound(mItems.begin(), mItems.end(), id,
                                       [](const std::unique_ptr<TCatalogItem>& item, std::int32_t value) {
                                           return item->ID < value;
                                       });
            if (at == mItems.end() || (*at)->ID != id) {
                at = mItems.insert(at, CreateLoadTarget(id));
            }
            (*at)->LoadFromStream(stream);
        }
        // Elements the stream did not name (possible only when IDs have gaps or repeat) are not
        // part of what was read.
        std::sort(loaded.begin(), loaded.end());
        loaded.erase(std::unique(loaded.begin(), loaded.end()), loaded.end());
        if (static_cast<std::size_t>(Count()) != loaded.size()) {
            std::erase_if(mItems, [&](const std::unique_ptr<TCatalogItem>& item) {
                return !std::binary_search(loaded.begin(), loaded.end(), item->ID);
            });
        }
    } catch (...) {
        Clear();
        throw;
    }
}

}  // namespace quillon
