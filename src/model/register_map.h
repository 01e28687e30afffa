// What each holding register of the logger holds. Channel numbers c run from 0 to 7.
#pragma once

namespace virelo::model {

inline constexpr int kChannelCount = 8;

inline constexpr int ReadingRegister(int c) {
  return c;
}
inline constexpr int kAlarmFlagsRegister = 8;
inline constexpr int kStatusFlagsRegister = 9;
// Register 10 + k: high byte channel 2k, low byte channel 2k+1.
inline constexpr int kChannelStatusRegister = 10;
// Logger clock: (second, minute), (hour, day), (month, year - 1998).
inline constexpr int kClockRegister = 14;
inline constexpr int ChannelWordRegister(int c) {
  return 17 + c;
}
inline constexpr int kModeWordRegister = 25;
inline constexpr int Alarm1SetPointRegister(int c) {
  return 26 + 2 * c;
}
inline constexpr int Alarm2SetPointRegister(int c) {
  return 27 + 2 * c;
}
inline constexpr int kStartTimeRegister = 42;  // three registers, laid out as the clock
inline constexpr int kStopTimeRegister = 45;   // three registers, laid out as the clock
inline constexpr int kStopAfterIntervalsLowRegister = 48;
inline constexpr int kAcquisitionCommandRegister = 49;
inline constexpr int kAcquisitionCommandStop = 0;
inline constexpr int kAcquisitionCommandStart = 15;
// (tenths, seconds), (minutes, hours).
inline constexpr int kBaseIntervalRegister = 50;
inline constexpr int MultiplierRegister(int c) {
  return 52 + c;
}
inline constexpr int ScaleLowRegister(int c) {
  return 60 + 2 * c;
}
inline constexpr int ScaleHighRegister(int c) {
  return 61 + 2 * c;
}
inline constexpr int kTitleRegister = 76;  // 8 registers, 16 characters
inline constexpr int TagRegister(int c) {
  return 84 + 4 * c;
}  // 4 registers, 8 characters
inline constexpr int EngineeringUnitRegister(int c) {
  return 116 + 4 * c;
}  // 4 registers
// Register 148 + k: high byte channel 2k, low byte channel 2k+1.
inline constexpr int kFilterRegister = 148;
inline constexpr int kDecimalPositionRegister = 152;
inline constexpr int kThermocoupleDecimalRegister = 154;
inline constexpr int kMainsFrequencyRegister = 177;
inline constexpr int kParityRegister = 178;  // 0 none, 1 odd, 2 even
inline constexpr int kStopAfterIntervalsHighRegister = 179;
inline constexpr int kMemoryCapacityHighRegister = 180;
inline constexpr int kAcquisitionsMadeHighRegister = 182;
inline constexpr int kAddressRegister = 186;
// 0 = 1200, 1 = 2400, 2 = 4800, 3 = 9600, 4 = 19200, 5 = 57600 bit/s.
inline constexpr int kBaudRateRegister = 187;
inline constexpr int kAcquisitionsMadeLowRegister = 195;
inline constexpr int kMemoryCapacityLowRegister = 196;
inline constexpr int kSerialNumberHighRegister = 197;  // first four digits
inline constexpr int kSerialNumberLowRegister = 198;   // last four digits
inline constexpr int kFirmwareVersionRegister = 199;   // version times 100
inline constexpr int kIdentityRegisterNumber = 200;

inline constexpr int kTitleLength = 16;
inline constexpr int kTagLength = 8;
inline constexpr int kEngineeringUnitLength = 8;

}  // namespace virelo::model
