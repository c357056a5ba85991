#include "style/color_modification.h"

enum { kMaxChannels = 4 };

/* The channels of a process colour in their order; 0 for kinds that are not changed (pattern, gradient,
 * custom colour, none): a spot colour's definition belongs to the document, not to the swatch. */
static int32_t ColorChannels(AIColor* color, AIReal* channels[kMaxChannels]) {
    switch (color->kind) {
        case kGrayColor:
            channels[0] = &color->c.g.gray;
            return 1;
        case kFourColor:
            channels[0] = &color->c.f.cyan;
            channels[1] = &color->c.f.magenta;
            channels[2] = &color->c.f.yellow;
            channels[3] = &color->c.f.black;
            return 4;
        case kThreeColor:
            channels[0] = &color->c.rgb.red;
            channels[1] = &color->c.rgb.green;
            channels[2] = &color->c.rgb.blue;
            return 3;
        default:
            return 0;
    }
}

bool ModeRecoloursFront(int32_t mode) {
    switch (mode) {
        case kRandomColorBoth:
        case kRandomColorFront:
        case kNegativeBoth:
        case kNegativeFront:
        case kJitterBoth:
        case kJitterFront:
        case kRandomChannel1:
        case kRandomChannel2:
        case kRandomChannel3:
        case kRandomChannel4:
            return true;
        default:
            return false;
    }
}

bool ModeRecoloursBehind(int32_t mode) {
    switch (mode) {
        case kRandomColorBoth:
        case kRandomColorBehind:
        case kNegativeBoth:
        case kNegativeBehind:
        case kJitterBoth:
        case kJitterBehind:
        case kRandomChannel1:
        case kRandomChannel2:
        case kRandomChannel3:
        case kRandomChannel4:
            return true;
        default:
            return false;
    }
}

ColorChange ColorChangeForMode(int32_t mode) {
    switch (mode) {
        case kRandomColorBoth:
        case kRandomColorFront:
        case kRandomColorBehind:
            return kRandomColorChange;
        case kNegativeBoth:
        case kNegativeFront:
        case kNegativeBehind:
            return kNegativeColorChange;
        case kJitterBoth:
        case kJitterFront:
        case kJitterBehind:
            return kJitterColorChange;
        case kRandomChannel1:
            return kChannel1Change;
        case kRandomChannel2:
            return kChannel2Change;
        case kRandomChannel3:
            return kChannel3Change;
        case kRandomChannel4:
            return kChannel4Change;
        default:
            return kNoColorChange;
    }
}

static void RandomiseChannels(AIReal* channels[], int32_t count, RandomSource* random) {
    for (int32_t i = 0; i < count; ++i)
        *channels[i] = DrawRandom(random);
}

static void NegateChannels(AIReal* channels[], int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        *channels[i] = 1.0f - *channels[i];
}

static AIReal ClampChannel(AIReal value) {
    if (value < 0.0f)
        return 0.0f;
    if (value > 1.0f)
        return 1.0f;
    return value;
}

/* Every channel moves first and only then are they clamped, so the draws do not depend on the clamping. */
static void JitterChannels(AIReal* channels[], int32_t count, RandomSource* random) {
    for (int32_t i = 0; i < count; ++i) {
        AIReal direction = DrawRandom(random);
        AIReal amount = DrawRandom(random);
        if (direction > 0.5f)
            *channels[i] -= kJitterAmount * amount;
        else
            *channels[i] += kJitterAmount * amount;
    }
    for (int32_t i = 0; i < count; ++i)
        *channels[i] = ClampChannel(*channels[i]);
}

/* Gray has one channel, which channels 1 to 3 all set; channel 4 is black and exists only in CMYK. */
static void RandomiseOneChannel(AIColor* color, AIReal* channels[], int32_t count, int32_t channel,
                                RandomSource* random) {
    int32_t index = color->kind == kGrayColor ? (channel <= 3 ? 0 : count) : channel - 1;
    if (index < count)
        *channels[index] = DrawRandom(random);
}

bool ModifyFillColor(AIColor* color, ColorChange change, RandomSource* random) {
    AIReal* channels[kMaxChannels] = {nullptr, nullptr, nullptr, nullptr};
    int32_t count = ColorChannels(color, channels);
    if (count == 0)
        return false;
    switch (change) {
        case kRandomColorChange:
            RandomiseChannels(channels, count, random);
            break;
        case kNegativeColorChange:
            // A CMYK negative inverts the three inks and keeps the black plate.
            NegateChannels(channels, color->kind == kFourColor ? 3 : count);
            break;
        case kJitterColorChange:
            JitterChannels(channels, count, random);
            break;
        case kChannel1Change:
        case kChannel2Change:
        case kChannel3Change:
        case kChannel4Change:
            RandomiseOneChannel(color, channels, count, static_cast<int32_t>(change - kChannel1Change) + 1,
                                random);
            break;
        default:
            break;
    }
    return true;
}
