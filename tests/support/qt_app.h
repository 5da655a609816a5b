#pragma once
// One QApplication for the whole test program, on the offscreen platform.

class QApplication;

namespace jubilora::test {

QApplication& TestApplication();

}  // namespace jubilora::test
