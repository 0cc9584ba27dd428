// The commands that open a screen over the map: shops, inns, the name entry and the menu, and the
// switch of the menu key.
#include "data/CommandCode.h"
#include "data/LD_Event.h"
#include "runtime/GameInnScene.h"
#include "runtime/GameMenuScene.h"
#include "runtime/GameNameScene.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameShopScene.h"
#include "runtime/GameState.h"
#include "runtime/Interpreter.h"

#include <functional>
#include <memory>
#include <vector>

namespace quillon::runtime {

namespace {

// The goods of a shop line begin at this parameter.
constexpr int kFirstGoods = 4;

// Opens the screen the line asks for and waits for it; once it is done, goes on into the success or
// the failure case when the line has them (branches: its third parameter).
TStep OpenAndWait(TInterpreter& in, const TKelEventScriptLine& line,
                  const std::function<std::unique_ptr<TGameOverlay>()>& make, TCommandCode success,
                  TCommandCode failure) {
    TGameSession& session = in.Session();
    if (const std::optional<bool> result = session.TakeOverlayResult(&in)) {
        if (line.Param(2) == 0 || success == TCommandCode::End)
            return TStep::Next;
        const int body = in.FindForward(in.Pc(), line.Indent, {*result ? success : failure});
        if (body < 0)
            return TStep::Next;
        in.SetPc(body + 1);
        return TStep::Jumped;
    }
    session.OpenOverlay(make(), &in);
    return TStep::Retry;
}

}  // namespace

TStep RunSceneCommand(TInterpreter& in, const TKelEventScriptLine& line) {
    TGameSession& session = in.Session();
    switch (ToCommandCode(line.Code)) {
    case TCommandCode::CallShop:
        return OpenAndWait(
            in, line,
            [&] {
                std::vector<std::int32_t> goods;
                if (line.Param(0) != stSellOnly)
                    for (int i = kFirstGoods; i < line.ParamCount(); ++i)
                        goods.push_back(line.Param(i));
                return std::make_unique<TGameShopScene>(session, line.Param(0), line.Param(1), goods);
            },
            TCommandCode::ShopSuccess, TCommandCode::ShopFailure);
    case TCommandCode::CallInn:
        return OpenAndWait(
            in, line, [&] { return std::make_unique<TGameInnScene>(session, line.Param(0), line.Param(1)); },
            TCommandCode::InnRest, TCommandCode::InnCancel);
    case TCommandCode::EnterHeroName:
        if (session.State().Hero(line.Param(0)) == nullptr)
            return TStep::Next;
        return OpenAndWait(
            in, line,
            [&] {
                return std::make_unique<TGameNameScene>(session, line.Param(0), line.Param(1), line.Param(2) != 0);
            },
            TCommandCode::End, TCommandCode::End);
    case TCommandCode::CallSystemMenu:
        return OpenAndWait(
            in, line, [&] { return std::make_unique<TGameMenuScene>(session); }, TCommandCode::End,
            TCommandCode::End);
    default: return TStep::Next;
    }
}

}  // namespace quillon::runtime
