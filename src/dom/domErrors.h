#pragma once

// Errors of the document tree and the serializer, each with its fixed English
// message, and the errors of the ownership layer beneath the tree, which the
// tree translates before they reach a caller.

#include <stdexcept>
#include <string>

namespace brimlow {

class EDomException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

#define BRIMLOW_DOM_ERROR(Name)         \
  class Name : public EDomException {   \
   public:                              \
    using EDomException::EDomException; \
  }

BRIMLOW_DOM_ERROR(EIndex_Size_Err);
BRIMLOW_DOM_ERROR(EHierarchy_Request_Err);
BRIMLOW_DOM_ERROR(EWrong_Document_Err);
BRIMLOW_DOM_ERROR(EInvalid_Character_Err);
BRIMLOW_DOM_ERROR(ENo_Modification_Allowed_Err);
BRIMLOW_DOM_ERROR(ENot_Found_Err);
BRIMLOW_DOM_ERROR(ENot_Supported_Err);
BRIMLOW_DOM_ERROR(EInuse_Err);
BRIMLOW_DOM_ERROR(EInvalid_State_Err);
BRIMLOW_DOM_ERROR(ENamespace_Err);
BRIMLOW_DOM_ERROR(EWrong_DOM_Implementation_Err);
BRIMLOW_DOM_ERROR(EParserException);
BRIMLOW_DOM_ERROR(EXPath_Exception);

#undef BRIMLOW_DOM_ERROR

// A string that cannot be written: an unpaired surrogate, or a character the
// codec lacks where no character reference may stand.
class EWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Failures of the ownership layer; they carry their class name as message.
class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

#define BRIMLOW_LIST_ERROR(Name)   \
  class Name : public EListError { \
   public:                         \
    Name() : EListError(#Name) {}  \
  }

BRIMLOW_LIST_ERROR(EHierarchyRequestError);
BRIMLOW_LIST_ERROR(ENoModificationAllowedError);
BRIMLOW_LIST_ERROR(ENotAssignedError);
BRIMLOW_LIST_ERROR(ENotFoundError);
BRIMLOW_LIST_ERROR(EWrongOwnerError);

#undef BRIMLOW_LIST_ERROR

}  // namespace brimlow
