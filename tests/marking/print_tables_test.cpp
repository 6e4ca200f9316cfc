// Each family of prints against its standard's own table, read through the print reader as a user
// would type it: a wrong row, a letter missed or a family read with another's table shows here.
#include <gtest/gtest.h>

#include <string>

#include "marking/band_words.h"
#include "marking/chip_capacitor_code.h"
#include "marking/dielectric_codes.h"
#include "marking/print_reader.h"
#include "marking/safety_classes.h"
#include "marking/tolerance_letters.h"
#include "marking/voltage_codes.h"

namespace kalvori {
namespace {

constexpr PartKind CC = PartKind::CapacitorCode, RB = PartKind::ResistorBands;

PrintReading first(const std::string& text, PartKind kind) {
  const PrintReadings r = readPrint(text, kind);
  EXPECT_FALSE(r.readings.empty()) << text << ": " << r.refusal;
  return r.readings.empty() ? PrintReading{} : r.readings.front();
}

Decimal d(double value) { return Decimal::of(static_cast<std::uint64_t>(value * 10000 + 0.5), -4); }

TEST(PrintTables, ToleranceLettersOfIec60062) {
  struct Row {
    char letter;
    double minus, plus;  // percent
  };
  const Row rows[] = {{'E', 0.005, 0.005}, {'L', 0.01, 0.01}, {'P', 0.02, 0.02}, {'W', 0.05, 0.05}, {'B', 0.1, 0.1},
                      {'C', 0.25, 0.25},   {'D', 0.5, 0.5},   {'F', 1, 1},       {'G', 2, 2},       {'H', 3, 3},
                      {'J', 5, 5},         {'K', 10, 10},     {'M', 20, 20},     {'N', 30, 30},     {'Q', 10, 30},
                      {'T', 10, 50},       {'S', 20, 50},     {'Z', 20, 80}};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(1, r.letter));
    // After a complete capacitor code, whatever else the letter could be.
    const PrintReading p = first(std::string("473") + r.letter, CC);
    ASSERT_TRUE(p.quantity && p.quantity->tolerance);
    EXPECT_EQ(*p.quantity->tolerance, Tolerance(d(r.minus), d(r.plus), false));
    EXPECT_EQ(letterOfTolerance(Tolerance(d(r.minus), d(r.plus), false)), r.letter);
  }
  // Ten picofarads and less: B, C, D and F in picofarads; the other letters stay percent.
  const std::pair<char, double> picofarads[] = {{'B', 0.1}, {'C', 0.25}, {'D', 0.5}, {'F', 1}};
  for (const auto& [letter, pf] : picofarads) {
    for (const std::string value : {"4p7", "100", "2R2"}) {
      if (value == "4p7" && letter == 'F') continue;  // "4p7F" is 4.7 pF, F its unit
      const PrintReading p = first(value + letter, CC);
      ASSERT_TRUE(p.quantity && p.quantity->tolerance) << value << letter;
      EXPECT_EQ(*p.quantity->tolerance, Tolerance(d(pf), d(pf), true)) << value << letter;
    }
    EXPECT_FALSE(first(std::string("101") + letter, CC).quantity->tolerance->picofarads) << letter;  // 100 pF
  }
  EXPECT_FALSE(first("4p7J", CC).quantity->tolerance->picofarads);
  for (char letter : {'A', 'I', 'O', 'R', 'U', 'V', 'X', 'Y'}) EXPECT_FALSE(isToleranceLetter(letter)) << letter;
}

TEST(PrintTables, VoltageCodesOfEia198) {
  const std::pair<const char*, double> rows[] = {
      {"0E", 2.5}, {"0G", 4},    {"0L", 5.5},  {"0J", 6.3},  {"1A", 10},   {"1C", 16},   {"1D", 20},
      {"1E", 25},  {"1V", 35},   {"1G", 40},   {"1H", 50},   {"1J", 63},   {"1K", 80},   {"2A", 100},
      {"2Q", 110}, {"2B", 125},  {"2C", 160},  {"2Z", 180},  {"2D", 200},  {"2P", 220},  {"2E", 250},
      {"2F", 315}, {"2V", 350},  {"2G", 400},  {"2W", 450},  {"2H", 500},  {"2J", 630},  {"2K", 800},
      {"3A", 1000}};
  for (const auto& [code, volts] : rows) {
    SCOPED_TRACE(code);
    const Decimal v = Decimal::of(static_cast<std::uint64_t>(volts * 10 + 0.5), -1);
    EXPECT_EQ(codedVoltage(code[0], code[1]), v);
    EXPECT_EQ(voltageCode(v), code);
    // Before the code and after it, alone or apart.
    for (const std::string print : {std::string(code) + "104J", "104J " + std::string(code), "104K/" + std::string(code)}) {
      const PrintReading p = first(print, CC);
      ASSERT_TRUE(p.voltage) << print;
      EXPECT_EQ(p.voltage->volts, v) << print;
      EXPECT_EQ(p.voltage->code, code) << print;
      EXPECT_EQ(p.quantity->value, Decimal::of(1, -7)) << print;
    }
  }
  for (const char* notCode : {"4A", "0X", "2I", "2a"}) EXPECT_FALSE(codedVoltage(notCode[0], notCode[1])) << notCode;
}

TEST(PrintTables, VoltagesWrittenOut) {
  const std::tuple<const char*, double, bool> rows[] = {
      {"25V", 25, false},    {"6.3V", 6.3, false},   {"1KV", 1000, false}, {"2kV", 2000, false},
      {"250VAC", 250, true}, {"275V~", 275, true},   {"50WV", 50, false},  {"16VDC", 16, false},
      {"35 V", 35, false},   {"275 VAC", 275, true}, {"100v", 100, false},
  };
  for (const auto& [print, volts, ac] : rows) {
    const PrintReading p = first(std::string("104K ") + print, CC);
    ASSERT_TRUE(p.voltage) << print;
    EXPECT_EQ(p.voltage->volts, Decimal::of(static_cast<std::uint64_t>(volts * 10 + 0.5), -1)) << print;
    EXPECT_EQ(p.voltage->alternating, ac) << print;
  }
  const PrintReading together = first("104K100V", CC);
  EXPECT_EQ(together.voltage->volts, Decimal::of(1, 2));
  EXPECT_EQ(together.quantity->tolerance, Tolerance(Decimal::of(1, 1)));
}

TEST(PrintTables, TantalumVoltageLetters) {
  const std::pair<char, double> rows[] = {{'G', 4},  {'J', 6.3}, {'A', 10}, {'C', 16},
                                          {'D', 20}, {'E', 25},  {'V', 35}, {'T', 50}};
  for (const auto& [letter, volts] : rows) {
    SCOPED_TRACE(std::string(1, letter));
    const Decimal v = Decimal::of(static_cast<std::uint64_t>(volts * 10 + 0.5), -1);
    EXPECT_EQ(tantalumVoltage(letter), v);
    // A moulded chip of 1 uF and more is read as tantalum first.
    const PrintReading p = first(std::string("107") + letter, CC);
    EXPECT_TRUE(p.tantalum);
    EXPECT_EQ(p.voltage->volts, v);
    EXPECT_EQ(p.quantity->value, Decimal::of(1, -4));
  }
  EXPECT_FALSE(tantalumVoltage('K'));
}

TEST(PrintTables, DielectricCodesReadByRule) {
  struct Row {
    const char* code;
    int lowest, highest;
    double minus, plus;
  };
  // EIA-198 class 2: every lowest temperature, every highest, every change letter at least once.
  const Row class2[] = {{"X7R", -55, 125, 15, 15},  {"X5R", -55, 85, 15, 15},   {"Y5V", -30, 85, 82, 22},
                        {"Z5U", 10, 85, 56, 22},    {"X7S", -55, 125, 22, 22},  {"X8R", -55, 150, 15, 15},
                        {"X6S", -55, 105, 22, 22},  {"X7T", -55, 125, 33, 22},  {"Y5P", -30, 85, 10, 10},
                        {"X9M", 0, 0, 0, 0},        {"X2A", -55, 45, 1, 1},     {"Z4B", 10, 65, 1.5, 1.5},
                        {"x7r", -55, 125, 15, 15},  {"Y5E", -30, 85, 4.7, 4.7}, {"X5F", -55, 85, 7.5, 7.5},
                        {"X3R", 0, 0, 0, 0},        {"W7R", 0, 0, 0, 0},        {"X7C", -55, 125, 2.2, 2.2},
                        {"X7D", -55, 125, 3.3, 3.3}};
  for (const Row& r : class2) {
    SCOPED_TRACE(r.code);
    const auto dielectric = readDielectric(r.code);
    if (r.highest == 0) {
      EXPECT_FALSE(dielectric);
      continue;
    }
    ASSERT_TRUE(dielectric);
    EXPECT_EQ(dielectric->dielectricClass, 2);
    EXPECT_EQ(dielectric->lowestC, r.lowest);
    EXPECT_EQ(dielectric->highestC, r.highest);
    EXPECT_EQ(dielectric->changeMinus, d(r.minus));
    EXPECT_EQ(dielectric->changePlus, d(r.plus));
  }
  // Class 1: figure × multiplier ± tolerance, in ppm/K (tenths here); NP0 and COG are C0G.
  const std::tuple<const char*, long, long> class1[] = {{"C0G", 0, 300},     {"NP0", 0, 300},      {"NPO", 0, 300},
                                                        {"COG", 0, 300},     {"U2J", -7500, 1200}, {"P2H", -1500, 600},
                                                        {"S2H", -3300, 600}, {"N750", -7500, 0},   {"P100", 1000, 0},
                                                        {"M7G", 1000, 300}};
  for (const auto& [code, coefficient, tolerance] : class1) {
    const auto dielectric = readDielectric(code);
    ASSERT_TRUE(dielectric) << code;
    EXPECT_EQ(dielectric->coefficientTenths, coefficient) << code;
    EXPECT_EQ(dielectric->coefficientToleranceTenths, tolerance) << code;
  }
  EXPECT_EQ(dielectricWords(*readDielectric("X7R")), "X7R：-55…+125 °C 内变化 ±15%");
  EXPECT_EQ(dielectricWords(*readDielectric("Y5V")), "Y5V：-30…+85 °C 内变化 +22/-82%");
  EXPECT_EQ(dielectricWords(*readDielectric("C0G")), "C0G：0 ±30 ppm/K");
  // Beside a code, alone: both read.
  EXPECT_EQ(first("104K X7R 50V", CC).dielectric->code, "X7R");
  EXPECT_FALSE(first("X7R", RB).quantity);
}

TEST(PrintTables, ChipCapacitorCodeAndSafetyClasses) {
  const std::pair<const char*, Decimal> codes[] = {
      {"A2", Decimal::of(1, -10)}, {"S3", Decimal::of(47, -10)}, {"J5", Decimal::of(22, -8)},
      {"a1", Decimal::of(25, -12)}, {"Z0", Decimal::of(91, -13)}, {"y9", Decimal::of(9, -13)},
      {"E4", Decimal::of(15, -9)},
  };
  for (const auto& [code, farads] : codes) {
    EXPECT_EQ(chipCapacitorCode(code), farads) << code;
    EXPECT_EQ(first(code, CC).quantity->value, farads) << code;
  }
  for (const char* notCode : {"I2", "O1", "AA", "A"}) EXPECT_FALSE(chipCapacitorCode(notCode)) << notCode;
  for (const char* name : {"X1", "X2", "X3", "Y1", "Y2"}) {
    ASSERT_NE(safetyClass(name), nullptr) << name;
    EXPECT_EQ(safetyClass(name)->name, name);
    EXPECT_EQ(first(name, CC).safety, safetyClass(name)) << name;  // before the chip code that looks alike
  }
  EXPECT_EQ(safetyClass("X4"), nullptr);
  const PrintReading x2 = first("X2 104K 275VAC", RB);
  EXPECT_EQ(x2.safety, safetyClass("X2"));
  EXPECT_EQ(x2.quantity->value, Decimal::of(1, -7));
  EXPECT_TRUE(x2.voltage->alternating);
}

TEST(PrintTables, SixBandsPinkAndZeroOhms) {
  // IEC 60062 (2016), the sixth band: the temperature coefficient in ppm/K.
  const std::pair<const char*, int> tempcos[] = {{"black", 250}, {"brown", 100}, {"red", 50}, {"orange", 15},
                                                 {"yellow", 25}, {"green", 20},  {"blue", 10}, {"violet", 5},
                                                 {"grey", 1}};
  for (const auto& [colour, ppm] : tempcos) {
    const PrintReading p = first(std::string("brown black black red brown ") + colour, RB);
    EXPECT_EQ(p.tempco, ppm) << colour;
    EXPECT_EQ(p.quantity->value, Decimal::of(1, 4)) << colour;
    EXPECT_EQ(p.quantity->tolerance, Tolerance(Decimal::of(1, 0))) << colour;
    EXPECT_EQ(p.bands.size(), 6u) << colour;
  }
  EXPECT_EQ(readPrint("brown black black red brown gold", RB).refusal, "第6环是温度系数环，不能是金色");
  // Pink multiplies by 0.001 and is drawn in its own colour.
  const PrintReading pink = first("红红粉", RB);
  EXPECT_EQ(pink.quantity->value, Decimal::of(22, -3));
  EXPECT_EQ(pink.bands.back(), (PaintedBand{kPinkSwatch, kPinkName}));
  EXPECT_EQ(first("yellow violet black pink brown", RB).quantity->value, Decimal::of(47, -2));
  EXPECT_EQ(readPrint("pink red red", RB).refusal, "第1环不能是粉色");
  // Zero-ohm links, printed or banded.
  for (const char* link : {"0", "000", "0000", "0R", "0R0", "0 Ω", "black", "黑"}) {
    const PrintReading p = first(link, RB);
    EXPECT_TRUE(p.zeroOhmLink) << link;
    EXPECT_TRUE(p.quantity && p.quantity->value.isZero()) << link;
  }
  EXPECT_EQ(readPrint("0k", RB).refusal, "数值是零");
}

}  // namespace
}  // namespace kalvori
