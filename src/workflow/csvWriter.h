#pragma once

// Downloads as CSV: UTF-8 with a byte-order mark, so that spreadsheets take
// the Cyrillic of the lists as it is, fields quoted as RFC 4180 has it and
// rows ended by CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace brimlow {

class TDownloadsList;

class TCsvWriter {
 public:
  // The byte-order mark comes first.
  TCsvWriter();
  // Appends one row of UTF-8 fields.  A field holding a comma, a double
  // quote, a CR or an LF is put in double quotes, each of its double quotes
  // doubled; every other field stands as it is.
  void Row(const std::vector<std::string>& fields);
  const std::string& Text() const { return FText; }

 private:
  void Field(std::string_view field);
  std::string FText;
};

// The whole list: a header row with the record's field names in the order of
// the list file, then one row per download, its texts turned from the active
// code page into UTF-8 and its date as the list file writes it.
// ExtraElements is one field, one entry per line.
std::string DownloadsCsv(const TDownloadsList& list);

// Writes DownloadsCsv(list) to `fileName`, all or nothing.  Throws
// EFCreateError.
void SaveDownloadsCsv(const TDownloadsList& list, const std::string& fileName);

}  // namespace brimlow
