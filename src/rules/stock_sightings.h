#pragma once
// What the monitor last knew of each stock that has a rule, kept across restarts in a small
// file of Halyard's own beside the program: a rule's High and armed trailing stop are reset only
// on evidence that the shares were sold, and a read that lacks a stock is no such evidence alone.
#include <map>
#include <string>

struct StockSighting {
    float cost = 0;           // the cost price last read (0: never read)
    bool missing = false;     // a read since lacked the stock
    int missingSinceDay = 0;  // first day (yyyymmdd) complete reads showing other stocks lacked it
    bool soldWhole = false;   // Halyard's sale of the whole holding was confirmed
};
using StockSightings = std::map<std::wstring, StockSighting>;

inline bool operator==(const StockSighting& a, const StockSighting& b) {
    return a.cost == b.cost && a.missing == b.missing && a.missingSinceDay == b.missingSinceDay &&
           a.soldWhole == b.soldWhole;
}
inline bool operator!=(const StockSighting& a, const StockSighting& b) {
    return !(a == b);
}

// The file name inside the executable's folder.
extern const wchar_t kSightingFileName[];

// Malformed or empty text gives an empty record.
StockSightings parseSightingDocument(const std::string& bytes);
std::string formatSightingDocument(const StockSightings& sightings);

// `folder` ends with a separator. A missing or unreadable file gives an empty record.
StockSightings loadSightings(const std::wstring& folder);
// Replaces the file in one step; on failure the previous file stays as it was.
bool saveSightings(const std::wstring& folder, const StockSightings& sightings);
