// libFuzzer target: delimited text tables through vtkVireonTablesLogic::AddTable, compared with
// a plain reading of the same text.
//
// Byte 0 chooses column type detection (0x01) and the file name extension (0x06: .csv, .tsv,
// .txt, .CSV); the rest is the file. The reference reading: optional UTF-8 byte order mark;
// records end at LF, CR LF or CR outside quotes; empty records are skipped; a field that starts
// with a double quote runs to the next lone quote ("" is a quote), and what follows up to the
// delimiter belongs to the field; quotes elsewhere are ordinary characters. A file that is valid
// UTF-8 without NUL, has a header record, no record longer than the header and no open quote
// must load, with the header's names (repeated ones suffixed "_N"), every record padded to the
// header's width and, with detection, number columns whose values are the texts' values.
#include <vtkKOVAScene.h>
#include <vtkKOVATestFiles.h>
#include <vtkKOVATableNode.h>
#include <vtkVireonTablesLogic.h>

#include <vtkAbstractArray.h>
#include <vtkDataArray.h>
#include <vtkNew.h>
#include <vtkObject.h>
#include <vtkStringArray.h>
#include <vtkTable.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using Record = std::vector<std::string>;

bool ValidUtf8WithoutNul(const std::string& text)
{
  size_t i = 0;
  while (i < text.size())
  {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0)
      return false;
    int extra = 0;
    uint32_t code = c;
    if (c >= 0x80)
    {
      if ((c & 0xE0) == 0xC0)
        extra = 1, code = c & 0x1F;
      else if ((c & 0xF0) == 0xE0)
        extra = 2, code = c & 0x0F;
      else if ((c & 0xF8) == 0xF0)
        extra = 3, code = c & 0x07;
      else
        return false;
    }
    if (i + extra >= text.size() && extra > 0)
      return false;
    for (int k = 1; k <= extra; ++k)
    {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80)
        return false;
      code = (code << 6) | (next & 0x3F);
    }
    static const uint32_t kSmallest[4] = { 0, 0x80, 0x800, 0x10000 };
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

// Records of the text, or false when a quoted field is not closed.
bool ReadRecords(const std::string& text, char delimiter, std::vector<Record>& records)
{
  Record record;
  std::string field;
  bool quoted = false;
  bool fieldStarted = false;
  bool recordStarted = false;
  const auto endRecord = [&]
  {
    if (recordStarted)
    {
      record.push_back(field);
      records.push_back(record);
    }
    record.clear();
    field.clear();
    fieldStarted = recordStarted = false;
  };
  for (size_t i = 0; i < text.size(); ++i)
  {
    const char c = text[i];
    if (quoted)
    {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
        field += '"', ++i;
      else if (c == '"')
        quoted = false;
      else
        field += c;
    }
    else if (c == '\n' || c == '\r')
    {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
      endRecord();
    }
    else if (c == delimiter)
    {
      record.push_back(field);
      field.clear();
      fieldStarted = false;
      recordStarted = true;
    }
    else
    {
      if (c == '"' && !fieldStarted)
        quoted = true;
      else
        field += c;
      fieldStarted = recordStarted = true;
    }
  }
  if (quoted)
    return false;
  endRecord();
  return true;
}

[[noreturn]] void Fail(const std::string& what)
{
  std::fprintf(stderr, "vtkVireonTablesTextFuzzer: %s\n", what.c_str());
  std::abort();
}

// The value of a whole number text as the loader's number columns must hold it.
bool NumberValue(std::string text, double& value)
{
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos)
    return false;
  text = text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
  if (text[0] == '+')
    text.erase(0, 1);
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

void Compare(vtkTable* table, const std::vector<Record>& records, bool detect)
{
  const Record& header = records[0];
  if (table->GetNumberOfColumns() != vtkIdType(header.size()))
    Fail("the table has " + std::to_string(table->GetNumberOfColumns()) + " columns, the header " +
         std::to_string(header.size()));
  if (table->GetNumberOfRows() != vtkIdType(records.size() - 1))
    Fail("the table has " + std::to_string(table->GetNumberOfRows()) + " rows, the file " +
         std::to_string(records.size() - 1));
  for (size_t c = 0; c < header.size(); ++c)
  {
    vtkAbstractArray* column = table->GetColumn(vtkIdType(c));
    const std::string name = column->GetName() ? column->GetName() : "";
    if (name != header[c] && name.compare(0, header[c].size() + 1, header[c] + "_") != 0)
      Fail("column " + std::to_string(c) + " is named '" + name + "' for the header '" +
           header[c] + "'");
    vtkStringArray* texts = vtkStringArray::SafeDownCast(column);
    vtkDataArray* numbers = vtkDataArray::SafeDownCast(column);
    if (!texts && !(detect && numbers))
      Fail("column " + name + " is a " + column->GetClassName());
    for (size_t r = 1; r < records.size(); ++r)
    {
      const std::string cell = c < records[r].size() ? records[r][c] : std::string();
      if (texts && texts->GetValue(vtkIdType(r - 1)) != cell)
        Fail("cell " + std::to_string(r) + "," + std::to_string(c) + " is '" +
             texts->GetValue(vtkIdType(r - 1)) + "', the file has '" + cell + "'");
      double expected = 0.0;
      if (numbers && (!NumberValue(cell, expected) ||
                       numbers->GetTuple1(vtkIdType(r - 1)) != expected))
        Fail("number cell " + std::to_string(r) + "," + std::to_string(c) + " does not hold '" +
             cell + "'");
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  vtkObject::GlobalWarningDisplayOff();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  static const char* const kNames[4] = { "table.csv", "table.tsv", "table.txt", "TABLE.CSV" };
  const bool detect = data[0] & 1;
  const int kind = (data[0] >> 1) & 3;
  const char delimiter = (kind == 1 || kind == 2) ? '\t' : ',';
  static const vtkKOVATestTemporaryDirectory folder;
  const std::string path =
    folder.Write(kNames[kind], std::string(reinterpret_cast<const char*>(data + 1), size - 1));

  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkVireonTablesLogic> logic;
  logic->SetKOVAScene(scene);
  vtkKOVATableNode* node = logic->AddTable(path.c_str(), "fuzz", detect, nullptr, nullptr);

  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    text.erase(0, 3);
  std::vector<Record> records;
  bool valid = ValidUtf8WithoutNul(text) && ReadRecords(text, delimiter, records) &&
               !records.empty();
  for (size_t r = 1; valid && r < records.size(); ++r)
    valid = records[r].size() <= records[0].size();
  if (valid && !node)
    Fail("a well-formed table file was not loaded");
  if (!valid && node)
    Fail("a malformed table file was loaded");
  if (node)
    Compare(node->GetTable(), records, detect);
  return 0;
}
