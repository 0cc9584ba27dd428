#include "runtime/GameNameScene.h"

#include "data/LD_Player.h"
#include "runtime/GameFont.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kPad = 8;
constexpr int kCellHeight = 16;
// The grid's last two cells: the other page, and the end of the entry.
constexpr const char* kPageLabel[2] = {"!?", "Aa"};
constexpr const char* kDoneLabel = "OK";

std::vector<std::string> Letters() {
    std::vector<std::string> page;
    for (char c = 'A'; c <= 'Z'; ++c)
        page.emplace_back(1, c);
    for (char c = 'a'; c <= 'z'; ++c)
        page.emplace_back(1, c);
    for (char c = '0'; c <= '9'; ++c)
        page.emplace_back(1, c);
    page.emplace_back(" ");
    return page;
}

std::vector<std::string> Symbols() {
    std::vector<std::string> page;
    for (const char c : std::string_view("!?.,-'\"()&+/:;=*#%~_@"))
        page.emplace_back(1, c);
    // Two-byte marks: full-width ! ? middle dot, long vowel, stars, note, circles, diamonds,
    // squares, triangles, male and female.
    static const unsigned char kWide[][2] = {
        {0x81, 0x49}, {0x81, 0x48}, {0x81, 0x45}, {0x81, 0x5B}, {0x81, 0x9A}, {0x81, 0x99}, {0x81, 0xF4},
        {0x81, 0x9B}, {0x81, 0x9C}, {0x81, 0x9D}, {0x81, 0x9E}, {0x81, 0x9F}, {0x81, 0xA0}, {0x81, 0xA1},
        {0x81, 0xA2}, {0x81, 0xA3}, {0x81, 0xA4}, {0x81, 0xA5}, {0x81, 0x89}, {0x81, 0x8A}};
    for (const auto& wide : kWide)
        page.emplace_back(reinterpret_cast<const char*>(wide), 2);
    return page;
}

}  // namespace

TNameEntry::TNameEntry(std::string_view initial, int maxBytes) : mMaxBytes(std::max(maxBytes, 0)) {
    for (std::size_t pos = 0; pos < initial.size();) {
        const std::size_t length = DecodeCp932(initial, pos).Length;
        const auto byte = static_cast<unsigned char>(initial[pos]);
        const bool leadAlone = pos + 1 == initial.size() && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
        if (leadAlone || !Add(initial.substr(pos, length)))
            break;
        pos += length;
    }
}

bool TNameEntry::Add(std::string_view character) {
    if (character.empty() || mName.size() + character.size() > static_cast<std::size_t>(mMaxBytes))
        return false;
    mName += character;
    return true;
}

bool TNameEntry::Erase() {
    if (mName.empty())
        return false;
    // A lead byte can also be a trail byte: find the last character's start from the front.
    std::size_t last = 0;
    for (std::size_t pos = 0; pos < mName.size(); pos += DecodeCp932(mName, pos).Length)
        last = pos;
    mName.erase(last);
    return true;
}

const std::vector<std::string>& NamePage(int page) {
    static const std::vector<std::string> pages[2] = {Letters(), Symbols()};
    return pages[page == 1 ? 1 : 0];
}

TGameNameScene::TGameNameScene(TGameSession& session, std::int32_t heroId, int mode, bool showInitial)
    : mSession(session), mHeroId(heroId), mPage(mode == 1 ? 1 : 0),
      mEntry(showInitial && session.State().Hero(heroId) ? session.State().Hero(heroId)->Name : std::string(),
             TKelPlayerItem::kNameMaxBytes),
      mCursor(CellCount(), kColumns) {}

int TGameNameScene::CellCount() const { return static_cast<int>(NamePage(mPage).size()) + 2; }

std::string TGameNameScene::CellText(int index) const {
    const auto& page = NamePage(mPage);
    if (index < static_cast<int>(page.size()))
        return page[static_cast<std::size_t>(index)];
    return index == static_cast<int>(page.size()) ? kPageLabel[mPage] : kDoneLabel;
}

TRect TGameNameScene::CellRect(int index) const {
    const int width = (kGridRect.Width() - 2 * kPad) / kColumns;
    return MakeBounds(kGridRect.Left + kPad + (index % kColumns) * width,
                      kGridRect.Top + kPad + (index / kColumns) * kCellHeight, width, kCellHeight);
}

void TGameNameScene::Update(const TGameInput& input) {
    ++mStep;
    const int pageSize = static_cast<int>(NamePage(mPage).size());
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, mEntry.Erase() ? ssCancel : ssBuzzer);
        return;
    }
    if (input.Pressed(gbDecide)) {
        const int index = mCursor.Index();
        if (index < pageSize) {
            PlaySystemSound(mSession, mEntry.Add(NamePage(mPage)[static_cast<std::size_t>(index)]) ? ssDecide : ssBuzzer);
        } else if (index == pageSize) {
            PlaySystemSound(mSession, ssDecide);
            mPage = 1 - mPage;
            mCursor = TMenuCursor(CellCount(), kColumns);
            mCursor.SetIndex(CellCount() - 2);
        } else if (mEntry.Name().empty()) {
            PlaySystemSound(mSession, ssBuzzer);
        } else {
            PlaySystemSound(mSession, ssDecide);
            if (THeroState* hero = mSession.State().Hero(mHeroId)) {
                hero->Name = mEntry.Name();
                mSession.State().Touch();
            }
            mDone = true;
        }
        return;
    }
    if (mCursor.Move(input))
        PlaySystemSound(mSession, ssCursor);
}

void TGameNameScene::Draw(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    skin.DrawWindow(screen, kNameRect);
    if (const THeroState* hero = mSession.State().Hero(mHeroId))
        skin.DrawFace(screen, kNameRect.Left + kPad, kNameRect.Top + kPad, hero->FaceSet, hero->FaceIndex, false);
    const int nameY = kNameRect.Top + kPad + kFaceSize + 6;
    const int end = skin.DrawText(screen, kNameRect.Left + kPad, nameY, mEntry.Name());
    // The place of the next character.
    if ((mStep / skin::kBlinkSteps) % 2 == 0 && static_cast<int>(mEntry.Name().size()) < mEntry.MaxBytes())
        skin.DrawText(screen, end, nameY + 2, "_");
    skin.DrawWindow(screen, kGridRect);
    skin.DrawCursor(screen, CellRect(mCursor.Index()), mStep);
    for (int i = 0; i < CellCount(); ++i) {
        const TRect r = CellRect(i);
        const std::string text = CellText(i);
        skin.DrawText(screen, r.Left + (r.Width() - TGameSkin::TextWidth(text)) / 2, r.Top + 2, text,
                      i >= CellCount() - 2 ? 1 : 0);
    }
}

}  // namespace quillon::runtime
