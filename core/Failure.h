#pragma once
#include <QString>
#include <exception>

// The one kind of error a handler raises: it ends the handler where it arose
// and its message is shown once by the window's error guard.
class Failure : public std::exception {
public:
    explicit Failure(QString message) : message_(std::move(message)) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return "Failure"; }

    static Failure notANumber(const QString &text);

private:
    QString message_;
};

// Floating-point arithmetic that fails like the calculator a technician knows:
// x / 0 is a division by zero, 0 / 0 an invalid operation.
double divide(double numerator, double denominator);
