#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "hostapi/adm_suites.h"

namespace simhost {

class Dialog;
class DialogToolkit;

// One thing the user does to an open modal dialog. The user behaves like a person: only visible, enabled
// items can be operated, and only in the way their kind allows (buttons are pressed, check boxes ticked,
// spin edits typed into, popups chosen from). After the item changes, its notify procedure runs with the
// "ADM User Changed Notifier".
//
// As script lines (parse() reads them, describe() writes them):
//   press 81            ok              cancel
//   type 10=250         tick 69         untick 69
//   choose 90= Multiply   (the entry with that text; "Multiply" also finds " Multiply")
//   choose 90#16        (the entry at position 16)
//   drag 164=120,80     (a tracking event at that view point with the mouse button down)
//   drag 164=120,80 modifiers=0x21
//   move 30,20          page Settings
struct UserAction {
    enum class Kind { Press, Type, Tick, Choose, ChooseIndex, Drag, Move, Page, Run };

    Kind kind = Kind::Press;
    int32_t item = 0;
    std::string text;    // typed text, entry text, page name
    int32_t number = 0;  // entry position; the tick state (0 or 1)
    ADMPoint point{};    // drag: view point; move: dx, dy
    uint32_t modifiers = 0;
    std::function<void(Dialog&)> code;

    static UserAction press(int32_t item);
    static UserAction ok() { return press(kADMDefaultItemID); }
    static UserAction cancel() { return press(kADMCancelItemID); }
    // Types the text into a spin edit: the number it spells, rounded to the item's precision and held
    // within its range, becomes the value.
    static UserAction type(int32_t item, std::string text);
    // Clicks the check box when it is not already in that state; a box already so is left alone.
    static UserAction tick(int32_t item, bool ticked = true);
    static UserAction choose(int32_t item, std::string entryText);
    static UserAction chooseIndex(int32_t item, int32_t position);
    // One mouse tracking event on the item at a point of the document's view. The modifier bit
    // kADMButtonDownModifier (0x20) says the primary mouse button is held down on the item.
    static UserAction drag(int32_t item, ADMPoint viewPoint, uint32_t modifiers = kADMButtonDownModifier);
    static UserAction move(int32_t dx, int32_t dy);
    // Presses the page button captioned with the name: the picture push button just above the static text
    // that reads the name.
    static UserAction page(std::string name);
    // Runs test or program code while the dialog is open (a look at the dialog, a picture of it).
    static UserAction run(std::function<void(Dialog&)> code);

    std::string describe() const;
    // Reads one script line; throws HostError naming the line when it cannot.
    static UserAction parse(std::string_view line);

    // Performs the action on the dialog. Throws HostError with a sentence such as
    // "cannot press item 81: it is hidden" when the user cannot do it.
    void perform(Dialog& dialog, DialogToolkit& toolkit) const;
};

}  // namespace simhost
