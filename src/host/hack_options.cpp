#include "host/hack_options.h"

#include "host/option_table.h"

OptionUse readHackOption(std::string_view option, ArgumentReader& reader, HackOptions& options) {
  const CommandOption* entry = findOption(option);
  if (!entry || entry->section != OptionSection::Hack) {
    return OptionUse::NotOurs;
  }
  const std::string_view name = entry->name;
  if (name == "--fps" || name == "--no-fps") {
    options.showFrameRate = name == "--fps";
  } else if (name == "--delay") {
    const auto value = reader.integer(option, static_cast<int64_t>(entry->range->low),
                                      static_cast<int64_t>(entry->range->high));
    if (!value) return OptionUse::Refused;
    options.delay = std::chrono::microseconds(*value);
  } else if (entry->value != OptionValue::None && !reader.value(option)) {
    return OptionUse::Refused;
  }
  return OptionUse::Taken;
}
