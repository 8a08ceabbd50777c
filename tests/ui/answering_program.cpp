// Linked into a test-only build of the program: its message boxes answer themselves, so tests
// can start the real program and read what it said from standard error.
#include <QCoreApplication>

#include "message_answering.h"

namespace {

void AnswerMessagesFromTheStart() {
  test_support::AnswerEveryMessageBox();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(AnswerMessagesFromTheStart)
