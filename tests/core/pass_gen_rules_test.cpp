#include "tools/pass_gen_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "tests/core/chi_square.h"
#ifdef _WIN32
#include "win/secure_random_win.h"
#endif

namespace torvane {
namespace {

// Deterministic stand-in for the system's generator, so the statistics never flake.
class TwisterSource : public ISecureRandom {
public:
    explicit TwisterSource(unsigned seed) : engine_(seed) {}
    bool Fill(unsigned char* bytes, size_t size) override {
        for (size_t i = 0; i < size; ++i) bytes[i] = Next();
        return true;
    }

protected:
    virtual unsigned char Next() { return static_cast<unsigned char>(engine_()); }
    std::mt19937 engine_;
};

// Even codes come twice as often as odd ones: a skewed bit, as a poor source might have.
class BiasedSource : public TwisterSource {
public:
    BiasedSource() : TwisterSource(7) {}
    unsigned char Next() override { return static_cast<unsigned char>((engine_() & 0xFE) | (engine_() % 3 == 0)); }
};

class ConstantSource : public ISecureRandom {
public:
    explicit ConstantSource(bool ok) : ok_(ok) {}
    bool Fill(unsigned char* bytes, size_t size) override {
        std::fill(bytes, bytes + size, ' ');
        return ok_;
    }

private:
    bool ok_;
};

std::string Alphabet(unsigned classes) {
    std::string all;
    for (int c = 0; c < 256; ++c) {
        if (PassCharClass(static_cast<unsigned char>(c)) & classes) all += static_cast<char>(c);
    }
    return all;
}

TEST(PassGenRulesTest, ClassesAreTheFourAsciiRanges) {
    EXPECT_EQ(26u, Alphabet(kPassUpper).size());
    EXPECT_EQ(26u, Alphabet(kPassLower).size());
    EXPECT_EQ("0123456789", Alphabet(kPassDigit));
    EXPECT_EQ("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", Alphabet(kPassSymbol));
    EXPECT_EQ(94u, Alphabet(kPassAllClasses).size());
}

TEST(PassGenRulesTest, PasswordsHoldOnlyAllowedCharactersAtTheClampedLength) {
    struct Case {
        unsigned classes;
        int length;
        size_t expected;
    };
    const Case cases[] = {{kPassClassesDefault, kPassLengthDefault, 12}, {kPassSymbol, 8, 8}, {kPassDigit, 32, 32},
                          {kPassUpper | kPassSymbol, 7, 8},           {kPassLower, 0, 8},  {kPassAllClasses, -3, 8},
                          {kPassAllClasses, 33, 32},                   {kPassDigit, 1000, 32}};
    TwisterSource source(1);
    for (const Case& c : cases) {
        std::string password;
        ASSERT_EQ(PassGenResult::Ok, GeneratePassword(c.classes, c.length, source, password));
        EXPECT_EQ(c.expected, password.size()) << c.length;
        for (char ch : password) EXPECT_NE(0u, PassCharClass(ch) & c.classes) << password;
    }
}

TEST(PassGenRulesTest, FailuresLeaveThePasswordAsItWas) {
    std::string password = "unchanged";
    TwisterSource good(2);
    ConstantSource spaces(true);
    ConstantSource broken(false);
    EXPECT_EQ(PassGenResult::NoClass, GeneratePassword(0, 12, good, password));
    EXPECT_EQ(PassGenResult::SourceFailed, GeneratePassword(kPassAllClasses, 12, broken, password));
    EXPECT_EQ(PassGenResult::SourceFailed, GeneratePassword(kPassAllClasses, 12, spaces, password));
    EXPECT_EQ("unchanged", password);
}

TEST(PassGenRulesTest, LastClassCannotBeTakenAway) {
    unsigned classes = 0;  // the user just unticked the digits, the only class left
    EXPECT_FALSE(KeepOneClass(classes, kPassDigit));
    EXPECT_EQ(kPassDigit, classes);
    classes = kPassUpper;  // unticked the digits with upper-case letters still allowed
    EXPECT_TRUE(KeepOneClass(classes, kPassDigit));
    EXPECT_EQ(kPassUpper, classes);
}

TEST(PassGenRulesTest, ClassLetters) {
    const std::map<std::string, unsigned> good = {
        {"ULDS", kPassAllClasses}, {"d", kPassDigit}, {"sU", kPassSymbol | kPassUpper}, {"LL", kPassLower}};
    for (const auto& [letters, expected] : good) {
        unsigned classes = 0;
        EXPECT_TRUE(ParsePassClasses(letters, classes)) << letters;
        EXPECT_EQ(expected, classes) << letters;
    }
    for (const char* bad : {"", "X", "UL D", "ULDSx"}) {
        unsigned classes = kPassDigit;
        EXPECT_FALSE(ParsePassClasses(bad, classes)) << bad;
        EXPECT_EQ(kPassDigit, classes);
    }
}

double DrawnChiSquare(unsigned classes, ISecureRandom& source) {
    std::string drawn;
    std::string password;
    while (drawn.size() < 200 * Alphabet(classes).size()) {
        EXPECT_EQ(PassGenResult::Ok, GeneratePassword(classes, kPassLengthMax, source, password));
        drawn += password;
    }
    return ChiSquare(drawn, Alphabet(classes));
}

TEST(PassGenRulesTest, EveryAllowedCharacterIsEquallyLikely) {
    for (unsigned classes : {kPassAllClasses, kPassClassesDefault, unsigned{kPassDigit}, unsigned{kPassSymbol}}) {
        TwisterSource fair(classes);
        BiasedSource biased;
        const double critical = ChiSquareCritical(Alphabet(classes).size() - 1);
        EXPECT_LT(DrawnChiSquare(classes, fair), critical) << classes;
        EXPECT_GT(DrawnChiSquare(classes, biased), critical) << classes;
    }
}

TEST(PassGenRulesTest, SystemSourceIsUniform) {
#ifdef _WIN32
    win::WinSecureRandom source;
#else
    PosixSecureRandom source;
#endif
    EXPECT_LT(DrawnChiSquare(kPassAllClasses, source), ChiSquareCritical(93));
    EXPECT_LT(DrawnChiSquare(kPassDigit, source), ChiSquareCritical(9));
}

}  // namespace
}  // namespace torvane
