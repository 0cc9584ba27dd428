// "Map Shift" (direction and amount, remembered for the run) and "Set Vehicle Position" (boat,
// ship or airship).
#pragma once

#include <cstdint>

namespace quillon {

class TMapShiftModel {
public:
    // Directions as remembered: 8 up, 4 left, 6 right, 2 down.
    enum : int { sdUp = 8, sdLeft = 4, sdRight = 6, sdDown = 2 };

    // The map's size; the remembered direction and amount are preselected ("Up" and 1 at first).
    TMapShiftModel(std::int32_t width, std::int32_t height);

    int Direction() const { return mDirection; }
    // Ignores values that are no direction; the amount is kept within the new maximum.
    void SetDirection(int direction);
    std::int32_t Amount() const { return mAmount; }
    void SetAmount(std::int32_t amount);
    // 1 up to the height for up and down, up to the width for left and right.
    std::int32_t MaxAmount() const;
    // (0, -n) up, (-n, 0) left, (n, 0) right, (0, n) down.
    void Offset(std::int32_t& dx, std::int32_t& dy) const;
    // OK: direction and amount are remembered for the next use.
    void Confirm();

    // What the next dialog preselects (0 before any use).
    static int LastDirection();
    static std::int32_t LastAmount();
    static void ForgetLast();

private:
    std::int32_t mWidth;
    std::int32_t mHeight;
    int mDirection = sdUp;
    std::int32_t mAmount = 1;
};

// The vehicle chooser: 0 "Boat", 1 "Ship", 2 "Airship"; the result is 1, 2 or 3.
class TMapShipPosModel {
public:
    static constexpr const char* kChoices[3] = {"Boat", "Ship", "Airship"};
    int Choice() const { return mChoice; }
    void SetChoice(int choice) {
        if (choice >= 0 && choice < 3)
            mChoice = choice;
    }
    int Result() const { return mChoice + 1; }

private:
    int mChoice = 0;
};

}  // namespace quillon
