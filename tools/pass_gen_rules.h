#pragma once
// The rules of the password generator, shared by the generator dialog and torvane-cli.
//
// A password is drawn character by character: a random byte is taken and kept only when it is a
// character of an allowed class, otherwise it is thrown away and another is drawn (rejection
// sampling). Every allowed character is therefore exactly equally likely, whatever the sizes of
// the classes, and nothing forces one character of each allowed class into the password.
//
// Classes (ASCII only):
//   upper-case letters  A-Z                                      26
//   lower-case letters  a-z                                      26
//   digits              0-9                                      10
//   symbols             !"#$%&'()*+,-./ :;<=>?@ [\]^_` {|}~      32 (never the space)
//
// Usage:
//   win::WinSecureRandom source;   // or PosixSecureRandom, or a test source
//   std::string password;
//   switch (GeneratePassword(kPassClassesDefault, 12, source, password)) { ... }
#include <string>

#include "store/secure_random.h"

namespace torvane {

// Character classes, combined as a bit set.
enum PassClass : unsigned {
    kPassUpper = 1,
    kPassLower = 2,
    kPassDigit = 4,
    kPassSymbol = 8,
};
constexpr unsigned kPassAllClasses = kPassUpper | kPassLower | kPassDigit | kPassSymbol;
constexpr unsigned kPassClassesDefault = kPassUpper | kPassLower | kPassDigit;

constexpr int kPassLengthMin = 8;
constexpr int kPassLengthMax = 32;
constexpr int kPassLengthDefault = 12;

// Shown when no class is allowed (warning box, one OK button).
constexpr char kPassNoClassWarning[] = "文字種の指定がありません！";

// The class of a character code, or 0 when it is in none (space, controls, bytes above 0x7E).
unsigned PassCharClass(unsigned char code);

// A length pulled back into kPassLengthMin..kPassLengthMax.
int ClampPassLength(int length);

// After a click changed a class box: when no class is left allowed, the clicked class is allowed
// again and false is returned, so the caller shows kPassNoClassWarning.
bool KeepOneClass(unsigned& classes, unsigned clicked);

// "ULDS" letters (any order, either case) to a class set; false for another letter or none.
bool ParsePassClasses(const std::string& letters, unsigned& classes);

enum class PassGenResult {
    Ok,
    NoClass,       // classes was empty: show kPassNoClassWarning; password is left unchanged
    SourceFailed,  // the random source failed; password is left unchanged
};

// Draws a password of ClampPassLength(length) characters from the allowed classes.
PassGenResult GeneratePassword(unsigned classes, int length, ISecureRandom& source, std::string& password);

}  // namespace torvane
