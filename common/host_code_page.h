#pragma once
// The host has no ANSI code page: the texts the host tests hand the helpers
// of text_format.h are in the code page that the test chooses here, and in a
// single-byte one (no lead bytes) unless it chooses.
#include <vector>

struct LeadByteRange {
  unsigned char first;
  unsigned char last;
};

// The lead bytes of the code pages with two-byte characters, as Windows'
// GetCPInfo reports them.
extern const std::vector<LeadByteRange> kJapaneseLeadBytes;        // 932
extern const std::vector<LeadByteRange> kChineseKoreanLeadBytes;   // 936, 949, 950

// While it lives, the helpers read texts in a code page with these lead bytes.
class HostCodePage {
 public:
  explicit HostCodePage(const std::vector<LeadByteRange>& leadBytes);
  ~HostCodePage();
  HostCodePage(const HostCodePage&) = delete;
  HostCodePage& operator=(const HostCodePage&) = delete;
};
