// Names of the run-time error numbers the player and its script engine raise. The numbers are
// the classic ones: scripts test them through Err.Number and messages show them, so they never
// change.
#pragma once

namespace sl {

enum ErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrFixedArray = 10,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrOutOfStack = 28,
  kErrInternal = 51,
  kErrFileNotFound = 53,
  kErrDeviceIo = 57,
  kErrInputPastEnd = 62,
  kErrPathFileAccess = 75,
  kErrPathNotFound = 76,
  kErrObjectNotSet = 91,
  kErrForNotInitialized = 92,
  kErrInvalidNull = 94,
  kErrNoArrayElement = 340,  // "Control array element doesn't exist"
  kErrNotAnArray = 343,
  kErrAlreadyLoaded = 360,
  kErrDesignTimeControl = 362,  // "Can't unload controls created at design time"
  kErrInvalidPropertyValue = 380,
  kErrInvalidPropertyIndex = 381,
  kErrReadOnlyProperty = 383,
  kErrAlreadyShown = 400,  // "Form already displayed; can't show modally"
  kErrObjectRequired = 424,
  kErrCannotCreate = 429,
  kErrNoSuchMember = 438,
  kErrArgNotOptional = 449,
  kErrWrongArgCount = 450,
  kErrNotCollection = 451,
  kErrDuplicateKey = 457,
  kErrUnsupportedType = 458,
  kErrInvalidPicture = 481,
  kErrUndefined = 500,
  kErrIllegalAssignment = 501,
  kErrInvalidReference = 505,
  kErrClassNotDefined = 506,
  kErrTimeout = 6000,
};

}  // namespace sl
