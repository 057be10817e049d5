# The latest entry of packaging/changelog is the one place where a release is set: its version
# becomes the project's (and so the program's, the package's and the software centre's), its date
# the release date, its signature the package's maintainer. Sets KESTROVA_CHANGELOG_VERSION,
# KESTROVA_RELEASE_DATE (YYYY-MM-DD) and KESTROVA_MAINTAINER ("Name <address>").
function(kestrova_read_changelog changelog)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
  file(READ ${changelog} text)

  # CMake takes versions of numbers and dots only, so the changelog keeps to them.
  if(NOT text MATCHES "^kestrova \\(([0-9]+(\\.[0-9]+)*)\\) ")
    message(FATAL_ERROR "${changelog} must begin with 'kestrova (VERSION) ', the version made "
                        "of numbers and dots, such as 'kestrova (1.2) unstable; urgency=medium'")
  endif()
  set(KESTROVA_CHANGELOG_VERSION ${CMAKE_MATCH_1} PARENT_SCOPE)

  # The first signature line closes the latest entry: " -- Name <address>  Thu, 10 Dec 2026 ...".
  string(FIND "${text}" "\n -- " start)
  set(signature "")
  if(start GREATER -1)
    string(SUBSTRING "${text}" ${start} -1 signature)
  endif()
  set(date "[A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  if(NOT signature MATCHES "^\n -- ([^\n]+ <[^\n]+>)  ${date}")
    message(FATAL_ERROR "${changelog}: the latest entry must end with a line such as "
                        "' -- Name <address>  Thu, 10 Dec 2026 12:00:00 +0000'")
  endif()
  set(KESTROVA_MAINTAINER "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set(day ${CMAKE_MATCH_2})
  set(month_name ${CMAKE_MATCH_3})
  set(year ${CMAKE_MATCH_4})
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(FIND months ${month_name} month)
  if(month EQUAL -1)
    message(FATAL_ERROR "${changelog}: '${month_name}' is not a month")
  endif()
  math(EXPR month "${month} + 1")
  string(REGEX REPLACE "^([0-9])$" "0\\1" month ${month})
  string(REGEX REPLACE "^([0-9])$" "0\\1" day ${day})
  set(KESTROVA_RELEASE_DATE "${year}-${month}-${day}" PARENT_SCOPE)
endfunction()
