#ifndef vtkKOVATableColumnsInternal_h
#define vtkKOVATableColumnsInternal_h

// Column building shared by the table storage nodes (not installed).

#include <vtkAbstractArray.h>
#include <vtkIntArray.h>
#include <vtkLongLongArray.h>
#include <vtkSmartPointer.h>

#include <charconv>
#include <limits>
#include <string>
#include <vector>

namespace vtkKOVATableColumnsInternal
{
/// An integer column: a vtkIntArray when every value fits in an int, otherwise a vtkLongLongArray.
inline vtkSmartPointer<vtkAbstractArray> NewIntegerColumn(const std::vector<long long>& values)
{
  bool fitsInt = true;
  for (long long value : values)
  {
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    {
      fitsInt = false;
      break;
    }
  }
  const vtkIdType count = static_cast<vtkIdType>(values.size());
  if (fitsInt)
  {
    auto column = vtkSmartPointer<vtkIntArray>::New();
    column->SetNumberOfValues(count);
    for (vtkIdType i = 0; i < count; ++i)
    {
      column->SetValue(i, static_cast<int>(values[static_cast<size_t>(i)]));
    }
    return column;
  }
  auto column = vtkSmartPointer<vtkLongLongArray>::New();
  column->SetNumberOfValues(count);
  for (vtkIdType i = 0; i < count; ++i)
  {
    column->SetValue(i, values[static_cast<size_t>(i)]);
  }
  return column;
}

/// The shortest text that reads back as the same double.
inline std::string DoubleToText(double value)
{
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

/// True when \a value converts to double exactly (every integer of magnitude up to 2^53 does).
inline bool IsExactAsDouble(long long value)
{
  const long long limit = 1LL << 53;
  return value >= -limit && value <= limit;
}
}

#endif
