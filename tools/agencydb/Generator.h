#pragma once
#include <cstdint>
#include <string>

#include "DbWriter.h"

namespace iex::tools {

struct AgencyOptions {
  uint64_t seed = 1;
  int invoices = 100;
  std::string schemaVersion = "85";  // the active TABLEVERSION row
  bool encryptCards = false;         // settings row 48 on, card numbers in CKCCNOENCRYPT
  std::string keyText = "{00112233-4455-6677-8899-AABBCCDDEEFF}";  // settings row 47
  std::string charset;  // the database's default character set; empty: NONE
  // Keys of profiles, bookings, reservations, reservation cards, payments and
  // agent bookings shuffled instead of rising with the invoices.
  bool randomKeys = false;
};

// The schema script the generator runs.
const std::string& AgencySchemaScript();

// Fills an empty agency database deterministically from the seed.
void FillAgencyDatabase(TDbWriter& writer, const AgencyOptions& options);

// Creates the database file with the embedded engine, runs the schema and fills it.
void CreateAgencyDatabase(const std::string& path, const AgencyOptions& options);

}  // namespace iex::tools
