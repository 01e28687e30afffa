// The operations the rest of the program calls on the logger: register reads with retries,
// verified register writes, the configuration image and the offset words.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/link_status.h"
#include "link/register_image.h"
#include "link/serial_link.h"
#include "text/message_table.h"

namespace virelo::link {

inline constexpr int kReadTries = 3;
inline constexpr int kPauseBetweenTriesMs = 2;
inline constexpr int kMaxRegistersPerRead = 125;

// Reads `count` (1 to 125) registers from `first` into `destination`; three tries with 2 ms
// pauses. On failure `destination` is unchanged and the last try's status is returned.
LinkStatus ReadRegisters(SerialLink& link, int first, int count, std::int16_t* destination);
LinkStatus ReadRegister(SerialLink& link, int reg, std::int16_t* destination);
// Writes one register (three tries) and confirms it by reading it back (three tries). The
// value read back is not compared: a register that answers the read counts as written.
LinkStatus WriteRegister(SerialLink& link, int reg, std::int16_t value);

// Reads registers 0 to 200 in two requests, reporting the progress positions 60 and 100.
// `image` is written only when both requests succeeded.
LinkStatus ReadRegisterImage(SerialLink& link, RegisterImage& image,
                             const std::function<void(int position)>& progress = {});

LinkStatus ReadOffset(SerialLink& link, int word, std::int16_t* destination);
// One exchange, not retried; the reply must echo the word and the value.
LinkStatus WriteOffset(SerialLink& link, int word, std::int16_t value);

// The text that names a status: message-table entry 83 + status.
const std::string& LinkStatusText(LinkStatus status,
                                  const text::MessageTable& table = text::BuiltInTable());

}  // namespace virelo::link
