#pragma once

// The user's choice of how tone numbers are typed, kept in ~/.config/tonquill/tonquill.conf.
class TypingSettings {
  public:
    // Off when the file or the key is missing, and for any value but true.
    static bool toneAfterSyllable();
    static void setToneAfterSyllable(bool on);
};
