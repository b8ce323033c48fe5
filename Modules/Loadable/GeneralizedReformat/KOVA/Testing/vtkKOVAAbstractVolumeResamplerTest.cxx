#include <vtkKOVAAbstractVolumeResampler.h>

#include <vtkKOVAApplicationLogic.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

#include <sstream>

namespace
{
/// The smallest concrete resampler: records that it was called.
class vtkTestVolumeResampler : public vtkKOVAAbstractVolumeResampler
{
public:
  static vtkTestVolumeResampler* New();
  vtkTypeMacro(vtkTestVolumeResampler, vtkKOVAAbstractVolumeResampler);

  bool Resample(vtkKOVAVolumeNode*,
    vtkKOVAVolumeNode*,
    vtkKOVATransformNode*,
    vtkKOVAVolumeNode*,
    int interpolationType,
    const ResamplingParameters& parameters) override
  {
    this->LastInterpolationType = interpolationType;
    this->LastParameterCount = static_cast<int>(parameters.size());
    return true;
  }
  int LastInterpolationType = 0;
  int LastParameterCount = -1;
};
vtkStandardNewMacro(vtkTestVolumeResampler);

using Parameters = vtkKOVAAbstractVolumeResampler::ResamplingParameters;
}

TEST(vtkKOVAAbstractVolumeResampler, AbsentKeysReadAsEmptyOrZero)
{
  Parameters parameters;
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValue(parameters, "missing"), "");
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsDouble(parameters, "missing"), 0.0);
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsInt(parameters, "missing"), 0);
}

TEST(vtkKOVAAbstractVolumeResampler, DoublesAreStoredWithSixSignificantDigits)
{
  const struct
  {
    double Value;
    const char* Text;
  } cases[] = {
    { 0.1, "0.1" },
    { 1.0 / 3.0, "0.333333" },
    { 2.5, "2.5" },
    { -42.0, "-42" },
    { 1000000.0, "1e+06" },
    { 123456789.0, "1.23457e+08" },
    { 0.0, "0" },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Text);
    Parameters parameters;
    vtkKOVAAbstractVolumeResampler::SetParameterValueAsDouble(parameters, "x", c.Value);
    EXPECT_EQ(parameters.at("x"), c.Text);
  }
  Parameters parameters;
  vtkKOVAAbstractVolumeResampler::SetParameterValueAsDouble(parameters, "third", 1.0 / 3.0);
  EXPECT_NEAR(vtkKOVAAbstractVolumeResampler::GetParameterValueAsDouble(parameters, "third"),
    0.333333,
    1e-12);
}

TEST(vtkKOVAAbstractVolumeResampler, IntegersAndTextRoundTrip)
{
  Parameters parameters;
  vtkKOVAAbstractVolumeResampler::SetParameterValueAsInt(parameters, "n", -1234567);
  EXPECT_EQ(parameters.at("n"), "-1234567");
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsInt(parameters, "n"), -1234567);

  vtkKOVAAbstractVolumeResampler::SetParameterValue(parameters, "word", "abc");
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValue(parameters, "word"), "abc");
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsInt(parameters, "word"), 0);
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsDouble(parameters, "word"), 0.0);

  vtkKOVAAbstractVolumeResampler::SetParameterValue(parameters, "spacing", "0.5");
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::GetParameterValueAsDouble(parameters, "spacing"), 0.5);
}

TEST(vtkKOVAAbstractVolumeResampler, SettingAKeyTwiceKeepsOneEntryWithTheSecondValue)
{
  Parameters parameters;
  vtkKOVAAbstractVolumeResampler::SetParameterValue(parameters, "k", "first");
  vtkKOVAAbstractVolumeResampler::SetParameterValueAsInt(parameters, "k", 7);
  ASSERT_EQ(parameters.size(), 1u);
  EXPECT_EQ(parameters.at("k"), "7");
  // Keys are ordered byte-wise: upper case sorts before lower case.
  vtkKOVAAbstractVolumeResampler::SetParameterValue(parameters, "K", "upper");
  EXPECT_EQ(parameters.begin()->first, "K");
}

TEST(vtkKOVAAbstractVolumeResampler, ApplicationLogicIsAPlainPointer)
{
  vtkNew<vtkTestVolumeResampler> resampler;
  EXPECT_EQ(resampler->GetKOVAApplicationLogic(), nullptr);

  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  const int references = applicationLogic->GetReferenceCount();
  const vtkMTimeType mtime = resampler->GetMTime();
  resampler->SetKOVAApplicationLogic(applicationLogic);
  EXPECT_EQ(resampler->GetKOVAApplicationLogic(), applicationLogic.GetPointer());
  EXPECT_EQ(applicationLogic->GetReferenceCount(), references);
  EXPECT_EQ(resampler->GetMTime(), mtime);
  resampler->SetKOVAApplicationLogic(nullptr);
  EXPECT_EQ(resampler->GetKOVAApplicationLogic(), nullptr);
}

TEST(vtkKOVAAbstractVolumeResampler, TypeInformationAndDispatch)
{
  vtkSmartPointer<vtkKOVAAbstractVolumeResampler> resampler =
    vtkSmartPointer<vtkTestVolumeResampler>::New();
  EXPECT_TRUE(resampler->IsA("vtkKOVAAbstractVolumeResampler"));
  EXPECT_TRUE(vtkKOVAAbstractVolumeResampler::IsTypeOf("vtkKOVAAbstractVolumeResampler"));
  EXPECT_NE(vtkKOVAAbstractVolumeResampler::SafeDownCast(resampler), nullptr);
  vtkNew<vtkKOVAApplicationLogic> notAResampler;
  EXPECT_EQ(vtkKOVAAbstractVolumeResampler::SafeDownCast(notAResampler), nullptr);

  Parameters parameters{ { "a", "1" } };
  EXPECT_TRUE(resampler->Resample(nullptr,
    nullptr,
    nullptr,
    nullptr,
    vtkKOVAAbstractVolumeResampler::InterpolationTypeBSpline,
    parameters));
  auto* test = vtkTestVolumeResampler::SafeDownCast(resampler);
  EXPECT_EQ(test->LastInterpolationType, 4);
  EXPECT_EQ(test->LastParameterCount, 1);

  // PrintSelf adds nothing to what vtkObject prints.
  std::ostringstream printed;
  resampler->PrintSelf(printed, vtkIndent());
  EXPECT_EQ(printed.str().find("KOVAApplicationLogic"), std::string::npos);
}
