#include "vtkKOVATableStorageNode.h"

#include "vtkKOVAScene.h"
#include "vtkKOVATableColumnsInternal.h"
#include "vtkKOVATableNode.h"

#include <vtkDelimitedTextReader.h>
#include <vtkDoubleArray.h>
#include <vtkObjectFactory.h>
#include <vtkStringArray.h>
#include <vtkTable.h>
#include <vtksys/SystemTools.hxx>

#include <charconv>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <vector>

vtkKOVANodeNewMacro(vtkKOVATableStorageNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVATableStorageNode);

namespace
{
/// Checks that \a text is UTF-8 without NUL characters; on failure tells why, with the line.
bool CheckText(const std::string& text, std::string& error)
{
  int line = 1;
  const size_t size = text.size();
  for (size_t i = 0; i < size;)
  {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80)
    {
      if (c == 0)
      {
        error = "line " + std::to_string(line) + " contains a NUL character (not a text file)";
        return false;
      }
      line += (c == '\n') ? 1 : 0;
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
    {
      length = 2;
    }
    else if (c >= 0xE0 && c <= 0xEF)
    {
      length = 3;
      low = (c == 0xE0) ? 0xA0 : 0x80;
      high = (c == 0xED) ? 0x9F : 0xBF;
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
      length = 4;
      low = (c == 0xF0) ? 0x90 : 0x80;
      high = (c == 0xF4) ? 0x8F : 0xBF;
    }
    bool valid = length > 0 && i + length <= size;
    for (size_t k = 1; valid && k < length; ++k)
    {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (k == 1) ? (next >= low && next <= high) : (next >= 0x80 && next <= 0xBF);
    }
    if (!valid)
    {
      error = "line " + std::to_string(line) + " is not valid UTF-8 text";
      return false;
    }
    i += length;
  }
  return true;
}

/// Rewrites delimited text with double-quoted fields into the syntax of VTK's delimited text
/// reader, which ends a record at every line break (even inside quotes), treats a backslash as an
/// escape character everywhere, drops the leading blanks of unquoted fields (a tab delimiter
/// among them, when a field is empty) and skips records of blanks only. Every field, empty ones
/// included, is written as one quoted string: line breaks, doubled quotes and other quotes and
/// backslashes become escape sequences. Records end in '\n', blank lines are dropped and short
/// rows are padded with empty fields to the header's field count.
///
/// Also checks the structure. Returns false with a reason for a file without header, a row with
/// more fields than the header, or a quoted field that is not closed.
class DelimitedTextAdapter
{
public:
  DelimitedTextAdapter(char delimiter)
    : Delimiter(delimiter)
  {
  }

  bool Adapt(const std::string& in, size_t start, std::string& out, std::string& error)
  {
    out.clear();
    out.reserve(in.size() + in.size() / 4);
    State state = FieldStart;
    int line = 1;
    int recordLine = 1;
    int quoteLine = 1;
    int delimiters = 0;
    bool recordEmpty = true;
    const size_t size = in.size();
    for (size_t i = start; i < size; ++i)
    {
      const char c = in[i];
      if (state == Quoted)
      {
        if (c == '"')
        {
          if (i + 1 < size && in[i + 1] == '"')
          {
            out += "\\\"";
            ++i;
          }
          else
          {
            // The field goes on unquoted (usually it ends here); the output string stays open.
            state = AfterQuoted;
          }
        }
        else if (c == '\n')
        {
          out += "\\n";
          ++line;
        }
        else if (c == '\r')
        {
          out += "\\r";
          line += (i + 1 < size && in[i + 1] == '\n') ? 0 : 1;
        }
        else
        {
          AppendCharacter(out, c);
        }
        continue;
      }

      if (c == '\n' || c == '\r')
      {
        if (c == '\r' && i + 1 < size && in[i + 1] == '\n')
        {
          ++i;
        }
        if (!recordEmpty)
        {
          CloseField(state, out);
          if (!this->EndRecord(delimiters, recordLine, out, error))
          {
            return false;
          }
        }
        ++line;
        recordLine = line;
        delimiters = 0;
        recordEmpty = true;
        state = FieldStart;
        continue;
      }

      recordEmpty = false;
      if (c == this->Delimiter)
      {
        CloseField(state, out);
        out += c;
        ++delimiters;
        state = FieldStart;
      }
      else if (state == FieldStart)
      {
        out += '"';
        if (c == '"')
        {
          state = Quoted;
          quoteLine = line;
        }
        else
        {
          AppendCharacter(out, c);
          state = Unquoted;
        }
      }
      else
      {
        // A quote inside an unquoted field, or after a closing quote, is an ordinary character.
        AppendCharacter(out, c);
      }
    }

    if (state == Quoted)
    {
      error =
        "the quoted field that starts on line " + std::to_string(quoteLine) + " is not closed";
      return false;
    }
    if (!recordEmpty)
    {
      CloseField(state, out);
      if (!this->EndRecord(delimiters, recordLine, out, error))
      {
        return false;
      }
    }
    if (this->HeaderFields < 0)
    {
      error = "the file is empty (there is no header row with the column names)";
      return false;
    }
    return true;
  }

  /// Fields of the header row.
  int GetNumberOfColumns() const { return this->HeaderFields; }
  /// Records after the header.
  vtkIdType GetNumberOfRows() const { return this->Rows; }
  /// Records with fewer fields than the header, and the line the first of them starts on.
  vtkIdType GetNumberOfShortRows() const { return this->ShortRows; }
  int GetFirstShortRowLine() const { return this->FirstShortRowLine; }

private:
  enum State
  {
    FieldStart,
    Unquoted,
    Quoted,
    AfterQuoted,
  };

  /// Ends the output string of a field, or writes an empty one for a field without characters.
  static void CloseField(State state, std::string& out)
  {
    out += (state == FieldStart) ? "\"\"" : "\"";
  }

  /// A character inside a quoted output string.
  static void AppendCharacter(std::string& out, char c)
  {
    if (c == '"' || c == '\\')
    {
      out += '\\';
    }
    out += c;
  }

  bool EndRecord(int delimiters, int recordLine, std::string& out, std::string& error)
  {
    const int fields = delimiters + 1;
    if (this->HeaderFields < 0)
    {
      this->HeaderFields = fields;
    }
    else
    {
      if (fields > this->HeaderFields)
      {
        error = "line " + std::to_string(recordLine) + " has " + std::to_string(fields) +
                " fields but the header has " + std::to_string(this->HeaderFields);
        return false;
      }
      if (fields < this->HeaderFields)
      {
        if (this->ShortRows++ == 0)
        {
          this->FirstShortRowLine = recordLine;
        }
        for (int k = fields; k < this->HeaderFields; ++k)
        {
          out += this->Delimiter;
          out += "\"\"";
        }
      }
      ++this->Rows;
    }
    out += '\n';
    return true;
  }

  char Delimiter;
  int HeaderFields = -1;
  vtkIdType Rows = 0;
  vtkIdType ShortRows = 0;
  int FirstShortRowLine = 0;
};

bool IsBlank(char c)
{
  return c == ' ' || c == '\t';
}

/// Parses a whole value (blanks around it allowed) as a decimal number. Integers (digits only,
/// with an optional sign) that fit a long long set \a isInteger and \a integer.
bool ParseNumber(const std::string& text, bool& isInteger, long long& integer, double& value)
{
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin]))
  {
    ++begin;
  }
  while (end > begin && IsBlank(text[end - 1]))
  {
    --end;
  }
  // Decimal notation only: [sign] (digits [. digits] | . digits) [e [sign] digits].
  size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-'))
  {
    ++i;
  }
  const size_t digitsBegin = i;
  while (i < end && text[i] >= '0' && text[i] <= '9')
  {
    ++i;
  }
  size_t mantissaDigits = i - digitsBegin;
  bool integral = true;
  if (i < end && text[i] == '.')
  {
    integral = false;
    ++i;
    const size_t fractionBegin = i;
    while (i < end && text[i] >= '0' && text[i] <= '9')
    {
      ++i;
    }
    mantissaDigits += i - fractionBegin;
  }
  if (mantissaDigits == 0)
  {
    return false;
  }
  if (i < end && (text[i] == 'e' || text[i] == 'E'))
  {
    integral = false;
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-'))
    {
      ++i;
    }
    const size_t exponentBegin = i;
    while (i < end && text[i] >= '0' && text[i] <= '9')
    {
      ++i;
    }
    if (i == exponentBegin)
    {
      return false;
    }
  }
  if (i != end)
  {
    return false;
  }

  // from_chars takes no leading '+'.
  const char* first = text.data() + begin + (text[begin] == '+' ? 1 : 0);
  const char* last = text.data() + end;
  isInteger = false;
  if (integral)
  {
    const auto result = std::from_chars(first, last, integer);
    isInteger = result.ec == std::errc() && result.ptr == last;
  }
  const auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last;
}

/// A column of the texts, numeric when asked and every text is a number.
vtkSmartPointer<vtkAbstractArray> NewColumn(vtkStringArray* texts, vtkIdType firstRow, bool detect)
{
  const vtkIdType rows = texts->GetNumberOfValues() - firstRow;
  if (detect && rows > 0)
  {
    std::vector<long long> integers;
    std::vector<double> doubles;
    integers.reserve(static_cast<size_t>(rows));
    doubles.reserve(static_cast<size_t>(rows));
    bool allIntegers = true;
    bool allNumbers = true;
    for (vtkIdType r = 0; r < rows && allNumbers; ++r)
    {
      bool isInteger = false;
      long long integer = 0;
      double value = 0.0;
      allNumbers = ParseNumber(texts->GetValue(firstRow + r), isInteger, integer, value);
      allIntegers = allIntegers && isInteger;
      if (allIntegers)
      {
        integers.push_back(integer);
      }
      doubles.push_back(value);
    }
    if (allNumbers && allIntegers)
    {
      return vtkKOVATableColumnsInternal::NewIntegerColumn(integers);
    }
    if (allNumbers)
    {
      auto column = vtkSmartPointer<vtkDoubleArray>::New();
      column->SetNumberOfValues(rows);
      for (vtkIdType r = 0; r < rows; ++r)
      {
        column->SetValue(r, doubles[static_cast<size_t>(r)]);
      }
      return column;
    }
  }
  auto column = vtkSmartPointer<vtkStringArray>::New();
  column->SetNumberOfValues(rows);
  for (vtkIdType r = 0; r < rows; ++r)
  {
    column->SetValue(r, texts->GetValue(firstRow + r));
  }
  return column;
}
}

//------------------------------------------------------------------------------
vtkKOVATableStorageNode::vtkKOVATableStorageNode() = default;
vtkKOVATableStorageNode::~vtkKOVATableStorageNode() = default;

//------------------------------------------------------------------------------
void vtkKOVATableStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "DetectColumnTypes: " << this->DetectColumnTypes << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVATableStorageNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "detectColumnTypes") == 0)
    {
      this->SetDetectColumnTypes(strcmp(atts[i + 1], "true") == 0);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVATableStorageNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " detectColumnTypes=\"" << (this->DetectColumnTypes ? "true" : "false") << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVATableStorageNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVATableStorageNode* node = vtkKOVATableStorageNode::SafeDownCast(anode))
  {
    this->SetDetectColumnTypes(node->DetectColumnTypes);
  }
}

//------------------------------------------------------------------------------
bool vtkKOVATableStorageNode::CanReadInReferenceNode(vtkKOVANode* refNode)
{
  return refNode && refNode->IsA("vtkKOVATableNode");
}

//------------------------------------------------------------------------------
char vtkKOVATableStorageNode::GetFieldDelimiterForFileName(const std::string& fileName)
{
  const std::string extension = GetLowercaseExtensionFromFileName(fileName);
  return (extension == ".tsv" || extension == ".txt") ? '\t' : ',';
}

//------------------------------------------------------------------------------
int vtkKOVATableStorageNode::ReadDataInternal(vtkKOVANode* refNode)
{
  vtkKOVATableNode* tableNode = vtkKOVATableNode::SafeDownCast(refNode);
  const std::string fileName = this->FileName;
  const std::string failure = "Cannot read table file " + fileName + ": ";

  std::string content;
  if (vtksys::SystemTools::FileIsDirectory(fileName))
  {
    this->AddErrorMessage(failure + "it is a folder, not a file.");
    return 0;
  }
  {
    std::ifstream file(fileName, std::ios::in | std::ios::binary);
    if (!file)
    {
      this->AddErrorMessage(failure + "the file cannot be opened.");
      return 0;
    }
    std::ostringstream stream;
    stream << file.rdbuf();
    if (file.bad())
    {
      this->AddErrorMessage(failure + "the file cannot be read.");
      return 0;
    }
    content = stream.str();
  }

  std::string error;
  if (!CheckText(content, error))
  {
    this->AddErrorMessage(failure + error + ".");
    return 0;
  }
  const size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  const char delimiter = GetFieldDelimiterForFileName(fileName);
  DelimitedTextAdapter adapter(delimiter);
  std::string adapted;
  if (!adapter.Adapt(content, start, adapted, error))
  {
    this->AddErrorMessage(failure + error + ".");
    return 0;
  }
  content.clear();
  content.shrink_to_fit();

  // The header is read as the first record, so that the reader neither merges nor renames
  // columns that share a name; every field comes back as text.
  vtkNew<vtkDelimitedTextReader> reader;
  reader->SetReadFromInputString(true);
  if (adapted.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
  {
    this->AddErrorMessage(failure + "the file is too large for the text reader.");
    return 0;
  }
  reader->SetInputString(adapted.c_str(), static_cast<int>(adapted.size()));
  const char delimiters[2] = { delimiter, '\0' };
  reader->SetFieldDelimiterCharacters(delimiters);
  reader->SetUseStringDelimiter(true);
  reader->SetStringDelimiter('"');
  reader->SetHaveHeaders(false);
  reader->SetDetectNumericColumns(false);
  reader->SetMergeConsecutiveDelimiters(false);
  reader->Update();
  const std::string readerError = reader->GetLastError();
  if (!readerError.empty())
  {
    this->AddErrorMessage(failure + readerError + ".");
    return 0;
  }
  vtkTable* texts = reader->GetOutput();
  const vtkIdType columns = adapter.GetNumberOfColumns();
  const vtkIdType rows = adapter.GetNumberOfRows();
  bool shapeMatches = texts->GetNumberOfColumns() == columns;
  for (vtkIdType c = 0; shapeMatches && c < columns; ++c)
  {
    vtkStringArray* column = vtkStringArray::SafeDownCast(texts->GetColumn(c));
    shapeMatches = column && column->GetNumberOfValues() == rows + 1;
  }
  if (!shapeMatches)
  {
    this->AddErrorMessage(
      failure + "the text reader returned " + std::to_string(texts->GetNumberOfRows()) +
      " records of " + std::to_string(texts->GetNumberOfColumns()) + " fields instead of " +
      std::to_string(rows + 1) + " records of " + std::to_string(columns) + " fields.");
    return 0;
  }

  // A table's columns need distinct names (a column added under a name in use replaces the
  // column of that name): repeated names get a suffix.
  vtkNew<vtkTable> table;
  std::set<std::string> usedNames;
  for (vtkIdType c = 0; c < columns; ++c)
  {
    vtkStringArray* textColumn = vtkStringArray::SafeDownCast(texts->GetColumn(c));
    const std::string header = textColumn->GetValue(0);
    std::string name = header;
    for (int suffix = 1; usedNames.count(name); ++suffix)
    {
      name = header + "_" + std::to_string(suffix);
    }
    if (name != header)
    {
      this->AddWarningMessage("Table file " + fileName + ": the column name \"" + header +
                              "\" is used more than once; column " + std::to_string(c + 1) +
                              " is named \"" + name + "\".");
    }
    usedNames.insert(name);
    vtkSmartPointer<vtkAbstractArray> column = NewColumn(textColumn, 1, this->DetectColumnTypes);
    column->SetName(name.c_str());
    table->AddColumn(column);
  }
  if (adapter.GetNumberOfShortRows() > 0)
  {
    this->AddWarningMessage(
      "Table file " + fileName + ": " + std::to_string(adapter.GetNumberOfShortRows()) +
      " row(s) have fewer fields than the header (the first on line " +
      std::to_string(adapter.GetFirstShortRowLine()) + "); their missing cells are empty.");
  }
  tableNode->SetAndObserveTable(table);
  return 1;
}
