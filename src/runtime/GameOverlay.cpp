#include "runtime/GameOverlay.h"

#include "data/LD_DataBase.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameText.h"

namespace quillon::runtime {

void PlaySystemSound(TGameSession& session, TSystemSound sound) {
    session.Audio().PlaySound(session.Project().Database().System.Sound[sound]);
}

void PlayMenuSound(TGameSession& session, TMenuEvent event) {
    switch (event) {
    case TMenuEvent::Moved: PlaySystemSound(session, ssCursor); break;
    case TMenuEvent::Decided: PlaySystemSound(session, ssDecide); break;
    case TMenuEvent::Refused: PlaySystemSound(session, ssBuzzer); break;
    case TMenuEvent::Cancelled: PlaySystemSound(session, ssCancel); break;
    case TMenuEvent::None: break;
    }
}

std::string Term(const TKelDataBase& database, int field) {
    const TKelVocabulary& vocabulary = database.Vocabulary;
    for (int i = 0; i < TKelVocabulary::kShopCount; ++i) {
        const int offset = field - TKelVocabulary::kShopFirstField[i];
        if (offset >= 0 && offset < TKelVocabularyShop::kCount)
            return vocabulary.Shop(i).Text[static_cast<std::size_t>(offset)];
    }
    for (int i = 0; i < TKelVocabulary::kInnCount; ++i) {
        const int offset = field - TKelVocabulary::kInnFirstField[i];
        if (offset >= 0 && offset < TKelVocabularyInn::kCount)
            return vocabulary.Inn(i).Text[static_cast<std::size_t>(offset)];
    }
    const std::string* text = vocabulary.Text(field);
    return text ? *text : std::string();
}

void DrawMoney(TGameSkin& skin, TOrlenBoard& board, int right, int y, std::int32_t money, const std::string& unit) {
    const int unitX = right - TGameSkin::TextWidth(unit);
    skin.DrawText(board, unitX, y, unit, 1);
    const std::string amount = std::to_string(money);
    skin.DrawText(board, unitX - 4 - TGameSkin::TextWidth(amount), y, amount);
}

}  // namespace quillon::runtime
