// The two texts with which someone refuses a move, and the slots a scene keeps them in.
#pragma once
#include <string>

// Slots 0 to 3 refuse a move in that direction (see Direction.h) made without pointing that
// way first; leavingSlot refuses any move while a conversation is open. The two spare slots
// after it are deliberately never read: two scenes keep words there as written, and the
// content test checks them with the others. No rule may start consulting them.
enum RefusalSlot { leavingSlot = 4, spareSlot1 = 5, spareSlot2 = 6, refusalSlotCount = 7 };

struct MoveRefusal {
    std::string firstText;  // shown the first time; empty switches the refusal off
    std::string repeatText; // shown every time after
    bool said = false;
};
