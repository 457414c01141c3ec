# Two commands do everything on a fresh Debian machine: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD := build
TEST_BUILD := build-test
BENCH_BUILD := build-bench

.PHONY: deps build run test bench install clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKREL_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/run && ../krel

test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKREL_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DKREL_TESTS=OFF -DKREL_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/bench/krel_bench
	python3 bench/real_program.py $(BENCH_BUILD)/krel

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD)
