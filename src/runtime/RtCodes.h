// The command codes the interpreter knows by number: kept in this one place until the shared
// command-code enumeration of the data library replaces them.
#pragma once

#include <cstdint>

namespace quillon::runtime::code {

enum : std::int32_t {
    End = 0,
    Empty = 10,
    Message = 10110,
    MessageLine = 20110,
    MessageOptions = 10120,
    Face = 10130,
    ShowChoices = 10140,
    ChoiceCase = 20140,
    ChoiceEnd = 20141,
    InputNumber = 10150,
    ChangeSwitch = 10210,
    ChangeVariable = 10220,
    ChangeMoney = 10310,
    ChangeItem = 10320,
    Teleport = 10810,
    MoveCharacter = 11330,
    WaitUntilMoved = 11340,
    Wait = 11410,
    PlayMusic = 11510,
    PlaySound = 11550,
    Fork = 12010,
    ForkElse = 22010,
    ForkEnd = 22011,
    Label = 12110,
    JumpToLabel = 12120,
    Loop = 12210,
    LoopEnd = 22210,
    BreakLoop = 12220,
    EndEventProcessing = 12310,
    EraseEvent = 12320,
    CallEvent = 12330,
    Comment = 12410,
    CommentLine = 22410,
    GameOver = 12420,
    ToTitle = 12510,
};

}  // namespace quillon::runtime::code
