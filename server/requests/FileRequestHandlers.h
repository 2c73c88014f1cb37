#pragma once
// The requests on single files, which need no library: tags (2001), file information (3001), a file
// sent to the server (3002) and the parts of a file fetched from it (3003).

#include <memory>

class PathPolicy;
class RequestDispatcher;

void RegisterFileRequestHandlers(RequestDispatcher& dispatcher, const std::shared_ptr<const PathPolicy>& policy);
