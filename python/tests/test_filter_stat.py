"""filter and stat run the same engines as lmtool filter and lmtool stat."""

import errno
import pytest

import aelumeny
from conftest import FORMATS

BAND = "[Filter]\nName=band\n[A]\n1=Amplitude|40|60\n[Expressions]\n1=A\n"


@pytest.fixture
def band(tmp_path):
    path = tmp_path / "band.ini"
    path.write_text(BAND)
    return path


def copy(source, target):
    target.write_bytes(source.read_bytes())
    return target


@pytest.mark.parametrize("fmt", FORMATS)
def test_filter_equals_lmtool_filter(lmtool, samples, lmdata, band, tmp_path, fmt):
    ours, theirs = tmp_path / f"ours.{fmt}", tmp_path / f"theirs.{fmt}"
    expected = lmtool.run("filter", "--filter-file", band, samples[fmt], theirs, check=False)
    if expected.returncode != 0:  # a format that cannot be filtered: the same refusal
        with pytest.raises(aelumeny.FilterError) as caught:
            aelumeny.filter(samples[fmt], ours, filter_file=band)
        assert str(caught.value) + "\n" == expected.stderr
        assert not ours.exists()
        return
    result = aelumeny.filter(samples[fmt], ours, filter_file=band)
    assert result["text"] == expected.stdout
    assert ours.read_bytes() == theirs.read_bytes()
    assert 0 < result["written"] < result["total"]
    assert f"{result['written']}" in result["text"] and f"{result['total']}" in result["text"]
    assert result["protocol"] is None and result["warning"] is None
    # The post file reads back as the hits in the band, and other records.
    hits = aelumeny.read(ours, hits_only=True)
    assert len(hits) and ((hits["amplitude"] >= 40) & (hits["amplitude"] <= 60)).all()


def test_filter_into_the_source_only_when_asked(lmtool, samples, lmdata, band, tmp_path):
    source = copy(samples["sdt"], tmp_path / "rec.sdt")
    original = source.read_bytes()
    with pytest.raises(aelumeny.FilterError):
        aelumeny.filter(source, None, filter_file=band)
    assert source.read_bytes() == original and not (tmp_path / "rec.BAK").exists()

    result = aelumeny.filter(source, source, filter_file=band, yes=True)
    backup = tmp_path / "rec.BAK"
    assert backup.read_bytes() == original
    reference = copy(samples["sdt"], tmp_path / "ref.sdt")
    lmtool.run("filter", "--filter-file", band, "--yes", reference)
    assert source.read_bytes() == reference.read_bytes()
    assert result["text"] == lmtool.run("filter", "--filter-file", band, samples["sdt"], tmp_path / "x.sdt").stdout

    # A second run would replace the backup: only with its own consent.
    with pytest.raises(aelumeny.FilterError) as caught:
        aelumeny.filter(source, "", filter_file=band, yes=True)
    assert backup.read_bytes() == original
    assert caught.value.message_id != 0


def test_filter_warns_about_ignored_expression_text(samples, lmdata, tmp_path):
    sloppy = tmp_path / "sloppy.ini"
    sloppy.write_text(BAND.replace("1=A\n", "1=A xyz\n"))
    with pytest.warns(UserWarning, match="ignored: \"xyz\""):
        aelumeny.filter(samples["dta"], tmp_path / "post.dta", filter_file=sloppy)
    with pytest.raises(aelumeny.FilterError, match="strict"):
        aelumeny.filter(samples["dta"], tmp_path / "strict.dta", filter_file=sloppy, strict=True)
    assert not (tmp_path / "strict.dta").exists()


def test_filter_writes_the_protocol_when_asked(samples, lmdata, band, tmp_path):
    result = aelumeny.filter(samples["ald"], tmp_path / "post.ald", filter_file=band, report_dir=tmp_path)
    assert result["protocol"] == str(tmp_path / "Protocol.txt")
    assert (tmp_path / "Protocol.txt").read_text()


@pytest.mark.parametrize("fmt", FORMATS)
@pytest.mark.parametrize("frames, channels, events, args", [
    (["256:40:60:64:0:1000"], None, False, ["--frame", "256:40:60:64:0:1000"]),
    ([("amplitude", 30, 50, "counts", 0, 100), (256, 55.5, 90, 8, 0, 500)], [1, 2], False,
     ["--frame", "256:30:50:32:0:100", "--frame", "256:55.5:90:8:0:500", "--channels", "1-2"]),
    (["256:0:100:64:0:100000"], "2-3", True, ["--frame", "256:0:100:64:0:100000", "--channels", "2-3", "--events"]),
])
def test_stat_equals_lmtool_stat(lmtool, samples, fmt, frames, channels, events, args):
    expected = lmtool.run("stat", samples[fmt], *args)
    text = aelumeny.stat(samples[fmt], frames=frames, channels=channels, events=events)
    assert text == expected.stdout
    assert text.count("\n== ") == 4


def test_stat_with_a_setup_file(lmtool, samples, tmp_path):
    bad = tmp_path / "bad.ini"
    bad.write_text("not a setup\n")
    with pytest.raises(aelumeny.FormatError) as caught:
        aelumeny.stat(samples["dta"], frames=["256:40:60:64:0:1000"], setup=bad)
    assert caught.value.message == "Test Setup - unknown format of INI file"
    # One that cannot be opened is a file error, with the same message.
    with pytest.raises(aelumeny.FileNotFound) as caught:
        aelumeny.stat(samples["dta"], frames=["256:40:60:64:0:1000"], setup=tmp_path / "none.ini")
    assert caught.value.errno == errno.ENOENT
    assert caught.value.strerror == "Test Setup - unknown format of INI file"
    with pytest.raises(aelumeny.IsADirectory):
        aelumeny.stat(samples["dta"], frames=["256:40:60:64:0:1000"], setup=tmp_path)


@pytest.mark.parametrize("frames, channels", [
    (["256:40:60"], None),
    ([("amplitude", 1, 2)], None),
    ([("nonsense", 1, 2, "energy", 0, 1)], None),
    (["256:40:60:64:0:1000"] * 9, None),
    (["256:40:60:64:0:1000"], "0-300"),
    (["256:40:60:64:0:1000"], []),
])
def test_stat_refuses_malformed_arguments(samples, frames, channels):
    with pytest.raises(ValueError):
        aelumeny.stat(samples["dta"], frames=frames, channels=channels)


def test_ctrl_c_cancels_a_filtration_leaving_nothing(lmtool, lmdata, band, tmp_path):
    import signal
    import time

    source = lmtool.gen("dta", 1_000_000, tmp_path / "big.dta")
    started = time.perf_counter()
    aelumeny.filter(source, tmp_path / "whole.dta", filter_file=band)
    whole = time.perf_counter() - started

    def interrupt(signum, frame):
        raise KeyboardInterrupt

    previous = signal.signal(signal.SIGALRM, interrupt)
    try:
        signal.setitimer(signal.ITIMER_REAL, whole / 10)
        with pytest.raises(KeyboardInterrupt):
            aelumeny.filter(source, tmp_path / "cut.dta", filter_file=band)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    assert sorted(p.name for p in tmp_path.iterdir()) == ["LMData.sqlite", "band.ini", "big.dta", "whole.dta"]
