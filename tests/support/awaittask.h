#pragma once

#include <QCoroTask>

#include <utility>

// Runs the event loop until the task has finished and returns its value.
template<typename T>
T awaitTask(QCoro::Task<T> &&task)
{
    return QCoro::waitFor(std::move(task));
}
