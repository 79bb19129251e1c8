// Schedules of random tasks that the Terminal's rules accept, with texts that
// test a text form: quotes of both kinds, tabs, line breaks, backslashes and
// bytes of the upper half of the code page. Every record is zero-filled
// behind its texts, as the Terminal makes them.
#pragma once

#include <random>
#include <vector>

#include "task_record.h"

namespace kzo::test {

std::vector<TaskRecord> randomTasks(std::mt19937& random, int count);

}  // namespace kzo::test
