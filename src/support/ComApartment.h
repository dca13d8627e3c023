#pragma once
// COM on the calling thread for the object's lifetime, in a single-threaded
// apartment: the shell asks for it on every thread that calls ShellExecute,
// or some of its extensions fail without a word.
class ComApartment {
public:
    ComApartment();
    // Uninitialises COM when this object initialised it.
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};
