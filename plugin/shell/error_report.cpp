#include "shell/error_report.h"

#include <math.h>
#include <stdio.h>

#include "shell/about_box.h"
#include "shell/index_string.h"
#include "shell/string_convert.h"
#include "shell/suite_table.h"

namespace {

/* Both key and message buffers hold 256 bytes: up to 255 characters and the terminating zero. */
enum { kErrorTextMaxLength = 255 };

bool IsNumericKey(const char* key) {
    return key[0] == '-' || (key[0] >= '0' && key[0] <= '9');
}

/* A numeric key stands for a 16-bit code: the number it spells, truncated toward zero, keeps only its low
 * 16 bits. fmod is exact on the truncated value, so even numbers beyond 32 bits wrap as integers would.
 * A key the host cannot read as a number matches no code. */
bool NumericKeyValue(char* key, ASErr* value) {
    if (ToLengthPrefixed(key) == nullptr)
        return false;
    AIReal number = 0;
    if (sAIUser->StringToAIReal(reinterpret_cast<const unsigned char*>(key), &number) != kNoErr)
        return false;
    if (!isfinite(number))
        return false;
    double low = fmod(trunc(static_cast<double>(number)), 65536.0);
    *value = static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(low)));
    return true;
}

/* The first four characters, the first in the most significant byte; a shorter key is padded with zeros
 * rather than with whatever the buffer held beyond its text. */
bool FourCharacterKeyValue(char* key, ASErr* value) {
    if (ToLengthPrefixed(key) == nullptr)
        return false;
    const size_t length = static_cast<unsigned char>(key[0]);
    uint32_t code = 0;
    for (size_t i = 0; i < 4; ++i) {
        const unsigned char character = i < length ? static_cast<unsigned char>(key[1 + i]) : 0;
        code = (code << 8) | character;
    }
    *value = static_cast<ASErr>(code);
    return true;
}

bool KeyValue(char* key, ASErr* value) {
    return IsNumericKey(key) ? NumericKeyValue(key, value) : FourCharacterKeyValue(key, value);
}

/* The list pairs keys (odd entries) with messages; the last message serves every code without a key. */
int32_t FindMessageIndex(SPPluginRef self, ASErr code) {
    char key[kErrorTextMaxLength + 1];
    int32_t index = 1;
    ReadIndexString(self, kErrorStringList, index, key, kErrorTextMaxLength);
    while (key[0] != '\0') {
        ASErr value = 0;
        if (KeyValue(key, &value) && value == code)
            return index + 1;
        index += 2;
        ReadIndexString(self, kErrorStringList, index, key, kErrorTextMaxLength);
    }
    return index - 1;
}

void CopyText(char* destination, size_t destinationSize, const char* source) {
    size_t i = 0;
    for (; i + 1 < destinationSize && source[i] != '\0'; ++i)
        destination[i] = source[i];
    destination[i] = '\0';
}

/* Codes from -65536 to 65535 are host error numbers and read best as decimals; the others are
 * four-character codes. */
bool IsNumericCode(ASErr code) {
    const uint32_t upper = static_cast<uint32_t>(code) >> 16;
    return upper == 0 || upper == 0xFFFF;
}

/* AIRealToString may use 256 bytes, far more than the code text field has. */
void WriteNumericCodeText(ASErr code, char* codeText, size_t codeTextSize) {
    char number[256];
    number[0] = '\0';
    if (sAIUser->AIRealToString(static_cast<AIReal>(code), 0, reinterpret_cast<unsigned char*>(number)) == kNoErr)
        ToZeroTerminated(number, sizeof(number));
    else
        snprintf(number, sizeof(number), "%d", static_cast<int>(code));
    CopyText(codeText, codeTextSize, number);
}

void WriteFourCharacterCodeText(ASErr code, char* codeText) {
    const uint32_t bits = static_cast<uint32_t>(code);
    for (int i = 0; i < 4; ++i)
        codeText[i] = static_cast<char>((bits >> (24 - 8 * i)) & 0xFF);
    codeText[4] = '\0';
}

bool ReportSuitesHeld() {
    return sADMBasic != nullptr && sADMDialog != nullptr && sADMItem != nullptr && sAIUser != nullptr;
}

void SetItemText(ADMDialogRef dialog, int32_t itemID, const char* text) {
    ADMItemRef item = sADMDialog->GetItem(dialog, itemID);
    if (item != nullptr)
        sADMItem->SetText(item, text);
}

}  // namespace

void ReportError(SPMessageData* message, ASErr code) {
    if (code == kNoErr || code == kCanceledErr)
        return;
    /* The dialog's init procedure and the code text need more than the two suites that show a dialog. */
    if (!ReportSuitesHeld())
        return;

    ErrorReport report;
    const int32_t messageIndex = FindMessageIndex(message->self, code);
    if (ReadIndexString(message->self, kErrorStringList, messageIndex, report.message, kErrorTextMaxLength) !=
        kNoErr)
        return;
    if (IsNumericCode(code))
        WriteNumericCodeText(code, report.codeText, sizeof(report.codeText));
    else
        WriteFourCharacterCodeText(code, report.codeText);

    sADMDialog->Modal(message->self, "Error Dialog", kErrorDialogResourceID, 0, ErrorDialogInit, &report);
}

ASErr HOSTAPI ErrorDialogInit(ADMDialogRef dialog) {
    ADMItemRef ok = sADMDialog->GetItem(dialog, kADMDefaultItemID);
    if (ok != nullptr)
        sADMItem->SetNotifyProc(ok, OKNotifyProc);
    const ErrorReport* report = static_cast<const ErrorReport*>(sADMDialog->GetUserData(dialog));
    if (report == nullptr)
        return kNoErr;
    SetItemText(dialog, kErrorDialogMessageItem, report->message);
    SetItemText(dialog, kErrorDialogCodeItem, report->codeText);
    return kNoErr;
}
