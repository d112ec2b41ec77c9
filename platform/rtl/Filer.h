// Writing and reading the properties an object defines itself (TPersistent::DefineProperties)
// over the tagged value stream: a list of (name, value) pairs, the name as a string, the value
// as its writer callback wrote it, a binary property as one binary value.
#pragma once

#include "platform/rtl/Classes.h"

namespace rtl {

// Writes every defined property whose HasData is True, at the stream's position.
void WriteDefinedProperties(TPersistent& instance, TStream& stream);
// Reads a list written by WriteDefinedProperties from the stream's position and hands each
// value to the reader callback of the property of that name (names ignore case); the stream
// is left just behind the list. A name the object does not define raises EReadError
// ("Eigenschaft %s existiert nicht"); a damaged stream the errors of TReader.
void ReadDefinedProperties(TPersistent& instance, TStream& stream);

}  // namespace rtl
