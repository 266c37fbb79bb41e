#pragma once
// The kinds of USB adapter the programs drive, as one table: the name
// --adapter takes, the ids the adapter is found by unless --usb-id names
// others, and how its transport is made. "auto" takes the first of them that
// is plugged in, in the table's order.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Ch341aTransport.h"
#include "LibusbTransport.h"
#include "UsbTransport.h"

namespace pavok {

using MakeAdapterTransport = std::unique_ptr<Transport> (*)(const UsbAdapterSettings&, std::string& error);

struct AdapterKind {
  std::string_view name;
  UsbId defaultIds;
  MakeAdapterTransport make;
};

inline constexpr std::string_view kAutoAdapter = "auto";

inline constexpr std::array<AdapterKind, 2> kAdapterKinds{{
    {"avr309", {kAdapterVendorId, kAdapterProductId}, MakeAvr309Transport},
    {"ch341a", {kCh341aIds.vendorId, kCh341aIds.productId}, MakeCh341aTransport},
}};

// The kind named `name` (as the table spells it); null for another name.
const AdapterKind* FindAdapterKind(std::string_view name);

// Every value --adapter takes: "auto", then the table's names.
std::vector<std::string> AdapterNames();

}  // namespace pavok
