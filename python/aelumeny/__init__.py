"""AE recordings as numpy arrays.

The four data-file formats (Spartan 3000, DiSP/Locan, A-Line 32D, A-Line ISA) read by the
same C++ library as the AE Lumeny programs and ``lmtool``:

    >>> import aelumeny
    >>> hits = aelumeny.read("test.DTA", hits_only=True)
    >>> hits["amplitude"].max(), hits["time"][-1]

Functions:
    read    -- every record slot as the correlation program loads it (numpy structured array)
    values  -- the per-record parameter values of the reader (as ``lmtool values``)
    info    -- the format and its data-type report (as ``lmtool info``)
    detect  -- the format a file is recognised as, or None
    filter  -- the post-filter's filtration into a post file (as ``lmtool filter``)
    stat    -- the set statistics of framed hits (as ``lmtool stat``)

Exceptions (all subclasses of ``aelumeny.Error``):
    FileError(OSError), with FileNotFound(FileNotFoundError) and
    FilePermissionError(PermissionError), IsADirectory(IsADirectoryError) -- a file
    that cannot be opened
    FormatError(ValueError) -- not a data file of a known format, or not loadable
    FilterError -- a refused or failed filtration

Reading releases the GIL, so several files can be read on threads at once, and Ctrl+C
(KeyboardInterrupt) stops a long read.
"""

from __future__ import annotations

import os as _os
from typing import Any, Iterable, Union

import numpy

from ._errors import Error, FileError, FileNotFound, FilePermissionError, FilterError, FormatError, IsADirectory
from . import _core

# `filter` stays out of the star import: it would hide the builtin of the same name.
__all__ = [
    "read", "values", "info", "detect", "stat",
    "RECORD_DTYPE", "PARAMS", "KINDS", "TICKS_PER_SECOND",
    "Error", "FileError", "FileNotFound", "FilePermissionError", "IsADirectory", "FormatError", "FilterError",
]

#: The dtype of the arrays of :func:`read`.
RECORD_DTYPE = _core.RECORD_DTYPE

#: Record kinds, the values of the ``kind`` field.
KINDS = {
    "hit": 0, "stop": 1, "resume": 2, "pause": 3, "comment": 4,
    "parametric": 5, "time_mark": 6, "other": 7, "empty": 8,
}

#: Hit parameters by name: the identifiers :func:`values` and :func:`stat` take.
PARAMS = {
    "time": 1, "channel": 2, "seq": 4, "rise": 8, "cntpk": 16, "counts": 32, "energy": 64,
    "duration": 128, "amplitude": 256, "dp": 512, "rms": 1024, "par1": 2048, "gain": 4096,
    "threshold": 8192, "freq": 32768,
}

#: Ticks of the record time per second (a tick is 0.25 us).
TICKS_PER_SECOND = 4_000_000


#: A file name: text, bytes or an os.PathLike such as pathlib.Path.
PathType = Union[str, bytes, "_os.PathLike[str]", "_os.PathLike[bytes]"]
#: A hit parameter: its name in PARAMS (any case) or its identifier.
Param = Union[str, int]


def _path(path: PathType) -> str:
    return _os.fsdecode(_os.fspath(path))


def read(path: PathType, hits_only: bool = False) -> numpy.ndarray:
    """Load a data file as the correlation program loads it.

    Answers a numpy structured array with one row per record slot, in file order, the
    rows ``lmtool dump`` prints (``hits_only=True`` keeps the hits only: ``kind == 0``).
    The fields (see ``RECORD_DTYPE``, 40 bytes a row):

        kind       int8     record kind (KINDS: 0 hit, 5 parametric, 6 time mark, 8 empty slot, ...)
        ticks      uint64   record time in 0.25 us ticks (TICKS_PER_SECOND a second)
        time       float64  the same time in seconds
        channel    uint8    channel number, 1-based
        amplitude  uint8    dB
        rise       uint16   us
        counts     uint16
        energy     uint16   in the unit of the acquisition system
        duration   uint32   us
        par1       float32  parametric input 1
        flags      uint32   editing state bits of the programs (always 0 in a loaded file)

    Slots the loader counts but does not fill are empty records (kind 8, all zero). A file
    cut short loads the whole records before the cut, as the programs do.

    Memory: the array's buffer is the loader's own record buffer. The loader keeps 32
    bytes a record with a 48-bit tick time numpy has no type for, so the buffer is widened
    to 40-byte rows in place rather than copied; a load costs about 40 bytes a record and no
    second copy. The array owns that buffer (``array.base`` holds it): it stays valid for as
    long as the array or any view of it lives, independently of the file and the module.
    ``pandas.DataFrame(array)`` copies the columns.

    Raises FileNotFound, FilePermissionError, IsADirectory or FileError (OSError) when the file cannot be
    opened, FormatError (ValueError) when its format is not recognised or it cannot be
    loaded ("File Loading Error"), MemoryError when it does not fit, and KeyboardInterrupt
    when Ctrl+C stops the read (the GIL is released while reading).
    """
    return _core.read(_path(path), bool(hits_only))


def _param_id(param: Param) -> int:
    if isinstance(param, str):
        try:
            return PARAMS[param.lower()]
        except KeyError:
            raise ValueError(f"unknown hit parameter {param!r}; known: {', '.join(PARAMS)}") from None
    value = int(param)
    if value not in PARAMS.values():
        raise ValueError(f"unknown hit parameter {param!r}; known: {sorted(PARAMS.values())}")
    return value


def values(path: PathType, params: Param | Iterable[Param] | None = None) -> numpy.ndarray:
    """Walk a data file with its reader: per record read, the predicates, the time and the
    values of hit parameters, as ``lmtool values`` prints them.

    ``params`` selects the parameters by name (see PARAMS, any case) or by identifier, one
    or a list; None selects all fifteen in identifier order, as ``lmtool values``.

    Answers a structured array with one row per record read (up to and including the end
    record): ``hit``, ``param``, ``timed``, ``end`` (bool: hit record, parametric record,
    has a time, end of data), ``time`` (float64 seconds) and one float64 field per selected
    parameter, named ``p<identifier>`` as the ``lmtool values`` columns (``p256`` is the
    amplitude). The values are the reader's own, rounded to float64.

    Raises as :func:`read`, and ValueError for an unknown parameter.
    """
    if params is None:
        ids = sorted(PARAMS.values())
    elif isinstance(params, (str, int)):
        ids = [_param_id(params)]
    else:
        ids = [_param_id(p) for p in params]
    if len(set(ids)) != len(ids):
        raise ValueError("a hit parameter is selected twice")
    return _core.values(_path(path), ids)


def info(path: PathType) -> dict[str, Any]:
    """The format of a data file and its data-type report.

    Answers a dict: ``type`` (the format's code: 0 Spartan, 1 DiSP, 2 AMSY, 3 A-Line ISA,
    4 A-Line 32D), ``format`` (its report name) and ``report`` (the text ``lmtool info``
    prints: "Data type: ..." and the reader's header information).

    Raises as :func:`read`.
    """
    type_, name, report = _core.info(_path(path))
    return {"type": type_, "format": name, "report": report}


def detect(path: PathType) -> str | None:
    """The report name of the format the file's content is recognised as (the name
    :func:`info` gives), or None when no format recognises it.

    Raises FileError (OSError) when the file cannot be opened.
    """
    type_ = _core.detect(_path(path))
    return None if type_ < 0 else _core.type_name(type_)


def filter(source: PathType, dest: PathType | None, filter_file: PathType, yes: bool = False,
           replace_backup: bool = False, db: PathType | None = None, report_dir: PathType | None = None,
           strict: bool = False) -> dict[str, Any]:
    """Copy a data file into a post file, leaving out the hits the filter rejects: the
    post-filter's filtration, with the same rules as ``lmtool filter``.

    ``filter_file`` is a filter file (INI text, as ``lmtool filter --export`` writes). The
    post file replaces ``dest`` only when the run succeeded. ``dest`` empty (or None), or
    the source itself, filters into the source's own name, keeping the original under its
    .BAK name: only with ``yes=True``, and an existing .BAK file is replaced only with
    ``replace_backup=True``. ``db`` is the LMData database file (default: $LMDATA or the
    per-user data folder), read for the parameter table. ``report_dir`` appends the
    protocol entry to report_dir/Protocol.txt. An expression the filter language does not
    read as typed is warned about (UserWarning), or refused with ``strict=True``.

    Answers a dict: ``total`` (records handled), ``written`` (records in the post file),
    ``end_of_data_found``, ``text`` (the result lines ``lmtool filter`` prints),
    ``source`` and ``destination`` (as the protocol names them), ``protocol`` (the
    protocol file written, or None), ``protocol_error`` and ``warning`` (texts, or None).

    Raises FilterError with the post-filter's message when the run is refused or fails;
    nothing is written then. KeyboardInterrupt cancels the run the same way.
    """
    result = _core.filter(_path(source), "" if dest is None else _path(dest), _path(filter_file), bool(yes),
                          bool(replace_backup), "" if db is None else _path(db),
                          None if report_dir is None else _path(report_dir), bool(strict))
    import warnings
    if result["warning"]:
        warnings.warn(result["warning"], UserWarning, stacklevel=2)
    if result["protocol_error"]:
        warnings.warn(result["protocol_error"], RuntimeWarning, stacklevel=2)
    return result


def _frame_text(frame: str | Iterable[Any]) -> str:
    if isinstance(frame, str):
        return frame
    parts = list(frame)
    if len(parts) != 6:
        raise ValueError(f"a frame is (xparam, xmin, xmax, yparam, ymin, ymax), not {frame!r}")
    xparam, xmin, xmax, yparam, ymin, ymax = parts
    return f"{_param_id(xparam)}:{float(xmin)!r}:{float(xmax)!r}:{_param_id(yparam)}:{float(ymin)!r}:{float(ymax)!r}"


def _channel_text(channels: str | Iterable[int]) -> str:
    if isinstance(channels, str):
        return channels
    numbers = [int(c) for c in channels]
    if not numbers:
        raise ValueError("no channel selected")
    return ",".join(str(n) for n in numbers)


def stat(path: PathType, frames: Iterable[str | Iterable[Any]] | str, setup: PathType | None = None,
         channels: str | Iterable[int] | None = None, events: bool = False) -> str:
    """The set statistics of the correlation program for framed hits, as ``lmtool stat``
    prints them: the amplitude, parameter, MONPAC+, local-dynamic and pressure-hold tables,
    each after a line "== <tab caption>".

    ``frames`` lists up to eight frames for slots 0, 1, ...: each a tuple
    ``(xparam, xmin, xmax, yparam, ymin, ymax)`` (parameters by name or identifier) or the
    text "XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX" of ``lmtool stat --frame``. ``setup`` is a
    test setup INI file (default: the default setup), ``channels`` the selected channels
    (numbers, or a text such as "1-4,7"; default: all 128), ``events`` frames whole events
    and counts first hits only.

    Raises as :func:`read`, for the setup file too (a FileError when it cannot be opened,
    FormatError when it is no test setup); FormatError also, with ``events``, for a file out
    of time order; ValueError for a malformed frame or channel.
    """
    texts = [_frame_text(f) for f in ([frames] if isinstance(frames, str) else frames)]
    return _core.stat(_path(path), texts, None if setup is None else _path(setup),
                      None if channels is None else _channel_text(channels), bool(events))
