#include "host_code_page.h"

#include <bitset>

#include "text_format.h"

namespace {

std::bitset<256> leadBytes;

}  // namespace

const std::vector<LeadByteRange> kJapaneseLeadBytes = {{0x81, 0x9F}, {0xE0, 0xFC}};
const std::vector<LeadByteRange> kChineseKoreanLeadBytes = {{0x81, 0xFE}};

HostCodePage::HostCodePage(const std::vector<LeadByteRange>& ranges) {
  for (const LeadByteRange& range : ranges) {
    for (unsigned byte = range.first; byte <= range.last; ++byte) leadBytes.set(byte);
  }
}

HostCodePage::~HostCodePage() { leadBytes.reset(); }

bool isLeadByte(unsigned char byte) { return leadBytes.test(byte); }
