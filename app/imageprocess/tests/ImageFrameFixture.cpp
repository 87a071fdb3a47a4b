#include "ImageFrameFixture.h"

TestStation* ImageFrameTest::s_station = nullptr;
CI_MainControl* ImageFrameTest::s_control = nullptr;
