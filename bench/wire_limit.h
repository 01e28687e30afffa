// The least time a paced line allows for the link's work: every character on the wire, 11
// bits long, plus the logger's delay before each reply. It follows the simulated line's own
// timing: the request's characters arrive one after another from the moment it is written,
// the reply starts `replyDelayMs` after the request's last character and its characters
// follow back to back. An echo is handed back character by character as the request
// arrives, so it overlaps the request and costs nothing.
#pragma once

namespace virelo::bench {

inline constexpr int kBitsPerCharacter = 11;
inline constexpr int kRequestCharacters = 8;

// Characters of the replies the link reads.
inline constexpr int ReadReplyCharacters(int registerCount) {
  return 5 + 2 * registerCount;
}
inline constexpr int kWriteReplyCharacters = 8;

inline double CharacterMs(int baudRate) {
  return 1000.0 * kBitsPerCharacter / baudRate;
}

// One request and its reply.
inline double ExchangeLimitMs(int replyCharacters, int baudRate, int replyDelayMs) {
  return (kRequestCharacters + replyCharacters) * CharacterMs(baudRate) + replyDelayMs;
}

// Registers 0 to 124, then 125 to 200.
inline double ConfigurationReadLimitMs(int baudRate, int replyDelayMs) {
  return ExchangeLimitMs(ReadReplyCharacters(125), baudRate, replyDelayMs) +
         ExchangeLimitMs(ReadReplyCharacters(76), baudRate, replyDelayMs);
}

// `count` verified writes: each one a write and a read-back of one register.
inline double RegisterWritesLimitMs(int count, int baudRate, int replyDelayMs) {
  return count * (ExchangeLimitMs(kWriteReplyCharacters, baudRate, replyDelayMs) +
                  ExchangeLimitMs(ReadReplyCharacters(1), baudRate, replyDelayMs));
}

}  // namespace virelo::bench
