# The interpreter for the tests that read written spreadsheets back with olefile and xlrd,
# readers nobody here wrote. Prefer the system interpreter, which has the Debian packages of both.
set(XLS_CHECK_PYTHON "")
foreach(candidate /usr/bin/python3 python3)
  find_program(_xls_python_${candidate} NAMES ${candidate} NO_CACHE)
  set(_python "${_xls_python_${candidate}}")
  if(_python AND NOT XLS_CHECK_PYTHON)
    execute_process(COMMAND "${_python}" -c "import olefile, xlrd"
                    RESULT_VARIABLE _python_ok OUTPUT_QUIET ERROR_QUIET)
    if(_python_ok EQUAL 0)
      set(XLS_CHECK_PYTHON "${_python}")
    endif()
  endif()
endforeach()
if(NOT XLS_CHECK_PYTHON)
  # Let the test fail loudly with the import error rather than silently skip it.
  set(XLS_CHECK_PYTHON /usr/bin/python3)
  message(WARNING "python3 with olefile and xlrd not found; xls_readers test will fail")
endif()

